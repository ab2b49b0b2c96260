#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dialogs/open_file_name.h"

namespace vantrel {

// The open and save dialogs behind three members. The dialog record belongs
// to the object: a field one call does not set keeps what an earlier call on
// the same object left there.
class clsCommonDialog {
 public:
  explicit clsCommonDialog(DialogBackend& backend) : backend_(backend) {}

  // The chosen path, blanks trimmed from both ends, or empty text on cancel.
  // An empty `InitDir` starts from the path this object last returned.
  std::string ShowOpen(std::uintptr_t hwnd, std::string_view Title, std::string_view InitDir,
                       std::string_view Filter, std::uint32_t flags);

  // The chosen path, or empty text on cancel. `FileName` is the proposed
  // name, at most 128 characters; a longer one raises an error.
  std::string ShowSave(std::uintptr_t hwnd, std::string_view Title, std::string_view FileName,
                       std::string_view InitDir, std::string_view Filter, std::uint32_t flags);

  // The filter index the user last accepted a dialog with; 0 at first.
  std::int32_t FilterIndex() const { return LastFilterIndex; }

 private:
  DialogBackend& backend_;
  OpenFileNameRecord record_;
  std::string LastFileName;
  std::int32_t LastFilterIndex = 0;
};

// "A|b|c" -> "A\0b\0c\0": the separators as the dialogs want them, with one
// closing NUL unless the text already ends in one.
std::string ConvertFilter(std::string_view Filter);

}  // namespace vantrel
