#pragma once

#include <windows.h>
// HDROP and the tooltips; these need the types windows.h declares.
#include <commctrl.h>
#include <shellapi.h>

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "api/vantrel.h"
#include "dialogs/open_file_name.h"
#include "shell/layout/form_layout.h"

namespace vantrel::win32 {

// A control's child-window number: its row in the layout table plus 100,
// clear of IDOK and IDCANCEL, which the dialog manager sends for Enter and Esc.
constexpr int ChildId(layout::ControlName name) {
  return 100 + static_cast<int>(name.Row());
}

// The main window: the layout table's controls in a top-level window, the
// window state over them, and the buttons wired to the commands.
class Form1 : public WindowState {
 public:
  // Creates the window, hidden, with its controls; the Open command asks
  // for images through `dialogs`, and Play plays through `player`, which
  // outlives the window. Uses the module's icon and picture.
  Form1(HINSTANCE instance, DialogBackend& dialogs, CryPlayer& player);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // The window's handle, null once the window is closed.
  HWND Handle() const { return window_; }
  HWND Control(layout::ControlName name) const { return GetDlgItem(window_, ChildId(name)); }
  EditingCommands& Commands() { return commands_; }
  // Opens a file named outside the open dialog (dropped, or given on the
  // command line); a name no UTF-8 text can hold gets the failure box.
  void OpenFile(const std::wstring& name);

  void SetSpeciesList(const std::vector<std::string>& names) override;
  std::int16_t Selection() const override;
  void SetSelection(std::int16_t position) override;
  void SetEditingEnabled(bool enabled) override;
  void SetPlayState(bool enabled, const std::string& tooltip) override;
  std::string RomPath() const override { return rom_path_; }
  // Also names the image in the tooltips of the controls that write to it.
  void SetRomPath(const std::string& path) override;
  std::uintptr_t OwnerHandle() const override { return reinterpret_cast<std::uintptr_t>(window_); }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam,
                                     LPARAM lparam) noexcept;
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateControls(HINSTANCE instance);
  void CreateTooltips(HINSTANCE instance);
  // The tooltip of the control `name`, without its text.
  TTTOOLINFOW ToolOf(layout::ControlName name) const;
  void SetTooltip(layout::ControlName name, const std::string& text);
  // Places and sizes the controls, their fonts and the picture for `dpi`.
  void ApplyDpi(UINT dpi);
  void DeleteFonts();
  bool OnClick(int id);
  std::optional<LRESULT> OnControlColor(HDC dc, HWND control) const;
  void DrawPicture(const DRAWITEMSTRUCT& item) const;
  void OnDropFiles(HDROP drop);

  HWND window_ = nullptr;
  HWND last_focus_ = nullptr;
  HWND tooltips_ = nullptr;
  std::vector<HFONT> fonts_;
  HFONT window_font_ = nullptr;
  std::span<const std::byte> picture_gif_;
  HBITMAP picture_ = nullptr;
  std::string rom_path_;
  EditingCommands commands_;
};

}  // namespace vantrel::win32
