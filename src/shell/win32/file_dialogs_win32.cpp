#include "shell/win32/file_dialogs_win32.h"

#include <algorithm>
#include <utility>

#include "api/vantrel.h"

namespace vantrel::win32 {
namespace {

// A text buffer of `size` characters holding `text`. A buffer of blanks
// before its first NUL holds no name: the dialog would show the blanks as
// one and refuse them.
std::wstring Buffer(const std::string& text, std::uint32_t size) {
  const std::string name = text.substr(0, text.find('\0'));
  std::wstring buffer = name.find_first_not_of(' ') == std::string::npos ? L"" : WideFromUtf8(text);
  buffer.resize(std::max<std::size_t>(size, buffer.size() + 1), L'\0');
  return buffer;
}

// Empty text stands for "none": the dialog takes a null pointer for it.
const wchar_t* OrNull(const std::wstring& text) {
  return text.empty() ? nullptr : text.c_str();
}

// A character position in the wide buffer, counted again in UTF-8 bytes.
std::uint16_t Utf8Position(const std::wstring& buffer, WORD position) {
  return static_cast<std::uint16_t>(
      Utf8FromWide(std::wstring_view(buffer).substr(0, position)).size());
}

bool Run(OpenFileNameRecord& record, BOOL(WINAPI* dialog)(OPENFILENAMEW*)) {
  NativeDialogRecord native(record);
  if (!dialog(&native.Native())) return false;
  try {
    native.CopyResultTo(record);
  } catch (const RuntimeError& error) {
    ShowFailureBox(error);  // a name no UTF-8 text can hold
    return false;
  }
  return true;
}

}  // namespace

NativeDialogRecord::NativeDialogRecord(const OpenFileNameRecord& record)
    : filter_(WideFromUtf8(record.lpstrFilter)),
      file_(Buffer(record.lpstrFile, record.nMaxFile)),
      initial_dir_(WideFromUtf8(record.lpstrInitialDir)),
      title_(WideFromUtf8(record.lpstrTitle)),
      // The dialog puts its own dot before the extension.
      default_extension_(WideFromUtf8(
          record.lpstrDefExt.starts_with('.') ? record.lpstrDefExt.substr(1) : record.lpstrDefExt)),
      template_name_(WideFromUtf8(record.lpTemplateName)) {
  if (record.nMaxCustFilter > 0) {
    custom_filter_ = Buffer(record.lpstrCustomFilter, record.nMaxCustFilter);
  }
  if (record.nMaxFileTitle > 0) file_title_ = Buffer(record.lpstrFileTitle, record.nMaxFileTitle);

  // The record's size field gives the 32-bit layout; this process passes
  // its own.
  native_.lStructSize = sizeof(native_);
  native_.hwndOwner = reinterpret_cast<HWND>(record.hwndOwner);
  native_.hInstance = reinterpret_cast<HINSTANCE>(record.hInstance);
  // The string's own terminator ends the list with the second NUL.
  native_.lpstrFilter = OrNull(filter_);
  native_.lpstrCustomFilter = custom_filter_.empty() ? nullptr : custom_filter_.data();
  native_.nMaxCustFilter = static_cast<DWORD>(custom_filter_.size());
  native_.nFilterIndex = record.nFilterIndex;
  native_.lpstrFile = file_.data();
  native_.nMaxFile = static_cast<DWORD>(file_.size());
  native_.lpstrFileTitle = file_title_.empty() ? nullptr : file_title_.data();
  native_.nMaxFileTitle = static_cast<DWORD>(file_title_.size());
  native_.lpstrInitialDir = OrNull(initial_dir_);
  native_.lpstrTitle = OrNull(title_);
  native_.Flags = record.Flags;
  native_.lpstrDefExt = OrNull(default_extension_);
  native_.lCustData = record.lCustData;
  native_.lpfnHook = reinterpret_cast<LPOFNHOOKPROC>(record.lpfnHook);
  native_.lpTemplateName = OrNull(template_name_);
}

void NativeDialogRecord::CopyResultTo(OpenFileNameRecord& record) const {
  // Every text is converted before the record changes.
  OpenFileNameRecord result = record;
  result.lpstrFile = Utf8FromWide(file_);
  result.nFileOffset = Utf8Position(file_, native_.nFileOffset);
  result.nFileExtension = Utf8Position(file_, native_.nFileExtension);
  result.nFilterIndex = native_.nFilterIndex;
  result.Flags = native_.Flags;
  if (!file_title_.empty()) result.lpstrFileTitle = Utf8FromWide(file_title_);
  if (!custom_filter_.empty()) result.lpstrCustomFilter = Utf8FromWide(custom_filter_);
  record = std::move(result);
}

bool WindowsDialogBackend::ShowOpenDialog(OpenFileNameRecord& record) {
  return Run(record, GetOpenFileNameW);
}

bool WindowsDialogBackend::ShowSaveDialog(OpenFileNameRecord& record) {
  return Run(record, GetSaveFileNameW);
}

}  // namespace vantrel::win32
