#include "shell/win32/title_picture.h"

// gdiplus.h needs the declarations of windows.h and objidl.h first.
#include <objidl.h>
#include <shlwapi.h>

#include <gdiplus.h>

#include <memory>

#include "shell/win32/resource_ids.h"

namespace vantrel::win32 {

GdiplusSession::GdiplusSession() {
  const Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&token_, &input, nullptr);
}

GdiplusSession::~GdiplusSession() {
  Gdiplus::GdiplusShutdown(token_);
}

std::span<const std::byte> TitlePictureResource(HINSTANCE module) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_TITLE_PICTURE), RT_RCDATA);
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  if (loaded == nullptr) return {};
  return {static_cast<const std::byte*>(LockResource(loaded)), SizeofResource(module, found)};
}

HBITMAP StretchedFirstFrame(std::span<const std::byte> gif, int width, int height) {
  IStream* stream =
      SHCreateMemStream(reinterpret_cast<const BYTE*>(gif.data()), static_cast<UINT>(gif.size()));
  if (stream == nullptr) return nullptr;
  // A GIF opens on its first frame.
  const std::unique_ptr<Gdiplus::Bitmap> image(Gdiplus::Bitmap::FromStream(stream));
  stream->Release();
  if (image == nullptr || image->GetLastStatus() != Gdiplus::Ok) return nullptr;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  {
    Gdiplus::Graphics graphics(dc);
    // Whole source pixels, as a plain stretch shows them, with no blur at
    // the edges.
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    graphics.DrawImage(image.get(), 0, 0, width, height);
  }
  SelectObject(dc, previous);
  DeleteDC(dc);
  return bitmap;
}

}  // namespace vantrel::win32
