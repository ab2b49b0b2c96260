#include <windows.h>
// These need the types windows.h declares.
#include <commctrl.h>
#include <shellapi.h>

#include <filesystem>

#include "runtime/app.h"
#include "runtime/message_box.h"
#include "runtime/path_text.h"
#include "shell/win32/file_dialogs_win32.h"
#include "shell/win32/form1.h"
#include "shell/win32/message_box_win32.h"
#include "shell/win32/title_picture.h"

namespace {

// "Vantrel.exe IMAGE" opens IMAGE at start. The path is made absolute so that
// a later dialog that changes the current folder cannot move it.
void OpenFromCommandLine(vantrel::win32::Form1& form) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments != nullptr && count > 1) {
    std::error_code failed;
    const std::filesystem::path given(arguments[1]);
    const std::filesystem::path absolute = std::filesystem::absolute(given, failed);
    form.Commands().OpenPath(vantrel::Utf8FromPath(failed ? given : absolute));
  }
  LocalFree(arguments);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  vantrel::SetAppInstanceHandle(reinterpret_cast<std::uintptr_t>(instance));
  const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const vantrel::win32::GdiplusSession gdiplus;

  vantrel::win32::WindowsDialogBackend dialogs;
  vantrel::win32::Form1 form(instance, dialogs);
  if (form.Handle() == nullptr) return 1;
  vantrel::win32::WindowMessageBox boxes(form.Handle());
  const vantrel::ScopedMessageBox installed(boxes);
  ShowWindow(form.Handle(), show);
  UpdateWindow(form.Handle());
  OpenFromCommandLine(form);

  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // The dialog manager gives Tab and Shift+Tab their meaning.
    if (!IsDialogMessageW(form.Handle(), &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return static_cast<int>(message.wParam);
}
