#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>

#include "dialogs/open_file_name.h"

namespace vantrel::win32 {

// A dialog record in the wide form the system's dialogs take, owning the
// buffers the native record points into.
class NativeDialogRecord {
 public:
  explicit NativeDialogRecord(const OpenFileNameRecord& record);
  NativeDialogRecord(const NativeDialogRecord&) = delete;
  NativeDialogRecord& operator=(const NativeDialogRecord&) = delete;

  OPENFILENAMEW& Native() { return native_; }
  // Copies what an accepted dialog wrote back into `record`; a chosen name
  // that is not well-formed UTF-16 raises error 52 and changes nothing.
  void CopyResultTo(OpenFileNameRecord& record) const;

 private:
  std::wstring filter_;
  std::wstring custom_filter_;
  std::wstring file_;
  std::wstring file_title_;
  std::wstring initial_dir_;
  std::wstring title_;
  std::wstring default_extension_;
  std::wstring template_name_;
  OPENFILENAMEW native_{};
};

// GetOpenFileNameW and GetSaveFileNameW behind the dialog wrapper.
class WindowsDialogBackend : public DialogBackend {
 public:
  bool ShowOpenDialog(OpenFileNameRecord& record) override;
  bool ShowSaveDialog(OpenFileNameRecord& record) override;
};

}  // namespace vantrel::win32
