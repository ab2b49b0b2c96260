#pragma once

#include <cstdint>
#include <string>

#include "runtime/path_text.h"

namespace vantrel {

// The record the open and save dialogs take, field for field as the platform
// publishes it (in its first, 76-byte form). Texts are UTF-8 and may hold the
// NUL characters the dialogs use as separators; each backend converts them to
// what its toolkit wants.
struct OpenFileNameRecord {
  std::uint32_t lStructSize = 0;
  std::uintptr_t hwndOwner = 0;
  std::uintptr_t hInstance = 0;
  std::string lpstrFilter;  // description NUL pattern NUL ... NUL
  std::string lpstrCustomFilter;
  std::uint32_t nMaxCustFilter = 0;
  std::uint32_t nFilterIndex = 0;  // 1-based; 0 means the first filter
  std::string lpstrFile;           // the file buffer; the result before its first NUL
  std::uint32_t nMaxFile = 0;      // characters the file buffer may hold, NUL included
  std::string lpstrFileTitle;
  std::uint32_t nMaxFileTitle = 0;
  std::string lpstrInitialDir;
  std::string lpstrTitle;
  std::uint32_t Flags = 0;
  std::uint16_t nFileOffset = 0;
  std::uint16_t nFileExtension = 0;
  std::string lpstrDefExt;
  std::intptr_t lCustData = 0;
  std::uintptr_t lpfnHook = 0;
  std::string lpTemplateName;

  bool operator==(const OpenFileNameRecord&) const = default;
};

inline constexpr std::uint32_t kOpenFileNameSize = 76;

// The dialog flags the program uses.
inline constexpr std::uint32_t kOfnHideReadOnly = 0x4;
inline constexpr std::uint32_t kOfnPathMustExist = 0x800;
inline constexpr std::uint32_t kOfnFileMustExist = 0x1000;

// The platform's open and save dialogs. Each call shows a modal dialog
// described by `record` (owner, title, initial folder, filter, selected
// filter, flags). When the user accepts, the backend writes the chosen path
// and a NUL into `lpstrFile` and the chosen filter's 1-based index into
// `nFilterIndex`, and returns true. Cancel, or a path that does not fit in
// `nMaxFile` characters, returns false and leaves the record as it was; so
// does a chosen name that cannot be handed on exactly, after the failure box
// (52) has said so.
class DialogBackend {
 public:
  virtual ~DialogBackend() = default;
  virtual bool ShowOpenDialog(OpenFileNameRecord& record) = 0;
  virtual bool ShowSaveDialog(OpenFileNameRecord& record) = 0;
};

}  // namespace vantrel
