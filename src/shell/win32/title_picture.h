#pragma once

#include <windows.h>

#include <cstddef>
#include <span>

namespace vantrel::win32 {

// GDI+ for the life of the object.
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

 private:
  ULONG_PTR token_ = 0;
};

// The title-screen GIF built into the module's resources.
std::span<const std::byte> TitlePictureResource(HINSTANCE module);

// The first frame of `gif`, stretched to `width` x `height` without keeping
// its aspect ratio, as a bitmap the caller deletes. Needs a GdiplusSession.
HBITMAP StretchedFirstFrame(std::span<const std::byte> gif, int width, int height);

}  // namespace vantrel::win32
