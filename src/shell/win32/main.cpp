#include <windows.h>
// These need the types windows.h declares.
#include <commctrl.h>
#include <objbase.h>

#include "api/vantrel.h"
#include "shell/win32/command_line.h"
#include "shell/win32/file_dialogs_win32.h"
#include "shell/win32/form1.h"
#include "shell/win32/message_box_win32.h"
#include "shell/win32/title_picture.h"
#include "shell/win32/wav_cry_player.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  using vantrel::win32::CommandLine;
  const CommandLine command_line =
      vantrel::win32::ParseCommandLine(vantrel::WideArguments(GetCommandLineW()));
  if (command_line.action != CommandLine::Action::kShowWindow) {
    // A window program has no console to print on.
    vantrel::win32::WindowMessageBox(nullptr).Show(command_line.text, vantrel::AppTitle());
    return command_line.action == CommandLine::Action::kUsageError ? 2 : 0;
  }

  vantrel::SetAppInstanceHandle(reinterpret_cast<std::uintptr_t>(instance));
  // The file dialogs and the list's accessible name use COM.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  const vantrel::win32::GdiplusSession gdiplus;

  vantrel::win32::WindowsDialogBackend dialogs;
  vantrel::win32::WavCryPlayer player;
  vantrel::win32::Form1 form(instance, dialogs, player);
  if (form.Handle() == nullptr) return 1;
  vantrel::win32::WindowMessageBox boxes(form.Handle());
  const vantrel::ScopedMessageBox installed(boxes);
  ShowWindow(form.Handle(), show);
  UpdateWindow(form.Handle());
  if (command_line.image) form.OpenFile(*command_line.image);

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
