#include "shell/win32/form1.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "cry/species_list.h"
#include "runtime/error.h"
#include "shell/win32/resource_ids.h"
#include "shell/win32/title_picture.h"
#include "shell/win32/wide_text.h"

namespace vantrel::win32 {
namespace {

using layout::ControlKind;
using layout::kControls;
using layout::TwipsToPixels;

constexpr wchar_t kClassName[] = L"Form1";
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES;
// The open list of cmbPoke shows about a dozen entries.
constexpr int kDropDownTwips = 12 * 240;

bool TakesFocus(const layout::Control& control) {
  return control.kind == ControlKind::kCommandButton || control.kind == ControlKind::kDropDownList;
}

// Windows ties the tab order to the stacking order. The controls that take
// the focus never overlap one another, so stacking them in tab order changes
// nothing on screen; the others keep the table's order below them.
std::array<std::size_t, kControls.size()> StackingOrder() {
  std::array<std::size_t, kControls.size()> rows{};
  for (std::size_t row = 0; row < rows.size(); ++row) rows[row] = row;
  std::stable_sort(rows.begin(), rows.end(), [](std::size_t a, std::size_t b) {
    const layout::Control& first = kControls[a];
    const layout::Control& second = kControls[b];
    if (TakesFocus(first) != TakesFocus(second)) return TakesFocus(first);
    return TakesFocus(first) && first.tab_index < second.tab_index;
  });
  return rows;
}

const wchar_t* ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kCommandButton:
      return L"BUTTON";
    case ControlKind::kDropDownList:
      return L"COMBOBOX";
    default:
      return L"STATIC";
  }
}

DWORD StyleOf(const layout::Control& control) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  if (!control.enabled_at_start) style |= WS_DISABLED;
  switch (control.kind) {
    case ControlKind::kCommandButton:
      return style | WS_TABSTOP | BS_PUSHBUTTON;
    case ControlKind::kDropDownList:
      return style | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
    case ControlKind::kLabel:
      return style | SS_LEFT | SS_NOPREFIX;
    case ControlKind::kPicture:
      return style | SS_OWNERDRAW;
  }
  return style;
}

HFONT MakeFont(const layout::Font& font, UINT dpi) {
  LOGFONTW description{};
  description.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi / 72.0));
  description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  description.lfCharSet = static_cast<BYTE>(font.charset);
  WideFromUtf8(font.family).copy(description.lfFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&description);
}

COLORREF ColorRef(const layout::Color& color) {
  if (color.kind == layout::Color::Kind::kSystem) return GetSysColor(color.system_index);
  return RGB(color.red, color.green, color.blue);
}

void RegisterFormClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW form_class{};
  form_class.cbSize = sizeof(form_class);
  form_class.lpfnWndProc = procedure;
  form_class.hInstance = instance;
  form_class.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_VANTREL),
                                                   IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  form_class.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_VANTREL),
                                                     IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                     GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  form_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  // What shows beyond the picture when the window is enlarged.
  form_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form_class.lpszClassName = kClassName;
  // Registering again, for a second window, fails harmlessly.
  RegisterClassExW(&form_class);
}

}  // namespace

Form1::Form1(HINSTANCE instance, DialogBackend& dialogs)
    : picture_gif_(TitlePictureResource(instance)),
      commands_(*this, [&dialogs] { return std::make_unique<clsCommonDialog>(dialogs); }) {
  RegisterFormClass(instance, WindowProc);
  CreateWindowExW(kWindowExStyle, kClassName, WideFromUtf8(layout::kWindow.caption).c_str(),
                  kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                  nullptr, instance, this);
  if (window_ == nullptr) return;  // Handle() tells the caller
  CreateControls(instance);
  const UINT dpi = GetDpiForWindow(window_);
  ApplyDpi(dpi);
  RECT frame{0, 0, TwipsToPixels(layout::kWindow.client_width, dpi / 96.0),
             TwipsToPixels(layout::kWindow.client_height, dpi / 96.0)};
  AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, kWindowExStyle, dpi);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Form1::~Form1() {
  if (window_ != nullptr) DestroyWindow(window_);
  DeleteFonts();
  DeleteObject(picture_);
}

void Form1::CreateControls(HINSTANCE instance) {
  for (std::size_t row : StackingOrder()) {
    const layout::Control& control = kControls[row];
    HWND child = CreateWindowExW(
        0, ClassOf(control.kind), WideFromUtf8(control.caption).c_str(), StyleOf(control), 0, 0, 0,
        0, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(control.name))),
        instance, nullptr);
    SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  HWND list = Control("cmbPoke");
  for (std::string_view species : SpeciesList()) {
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromUtf8(species).c_str()));
  }
  last_focus_ = Control("cmdOpen");
}

void Form1::ApplyDpi(UINT dpi) {
  const double scale = dpi / 96.0;
  DeleteFonts();
  for (const layout::Control& control : kControls) {
    HWND child = Control(control.name);
    if (control.font) {
      fonts_.push_back(MakeFont(*control.font, dpi));
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.back()), TRUE);
    }
    const int height = control.kind == ControlKind::kDropDownList ? control.height + kDropDownTwips
                                                                  : control.height;
    SetWindowPos(child, nullptr, TwipsToPixels(control.left, scale),
                 TwipsToPixels(control.top, scale), TwipsToPixels(control.width, scale),
                 TwipsToPixels(height, scale), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  window_font_ = MakeFont(layout::kWindow.font, dpi);

  const layout::Control& image = layout::ControlNamed("Image1");
  DeleteObject(picture_);
  picture_ = StretchedFirstFrame(picture_gif_, TwipsToPixels(image.width, scale),
                                 TwipsToPixels(image.height, scale));
  InvalidateRect(window_, nullptr, TRUE);
}

void Form1::DeleteFonts() {
  for (HFONT font : fonts_) DeleteObject(font);
  fonts_.clear();
  DeleteObject(window_font_);
  window_font_ = nullptr;
}

std::int16_t Form1::Selection() const {
  return static_cast<std::int16_t>(SendMessageW(Control("cmbPoke"), CB_GETCURSEL, 0, 0));
}

void Form1::SetSelection(std::int16_t position) {
  HWND list = Control("cmbPoke");
  const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
  if (position < -1 || position >= count) throw RuntimeError(kInvalidProcedureCall);
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

void Form1::EnableEditing() {
  for (std::string_view name : {"cmbPoke", "cmdSave", "Command1", "cryRestore"}) {
    EnableWindow(Control(name), TRUE);
  }
}

// An error no procedure catches ends the program: noexcept turns it into a
// stop here instead of unwinding through the system's frames.
LRESULT CALLBACK Form1::WindowProc(HWND window, UINT message, WPARAM wparam,
                                   LPARAM lparam) noexcept {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    form->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form != nullptr) {
    if (const std::optional<LRESULT> result = form->OnMessage(message, wparam, lparam)) {
      return *result;
    }
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

std::optional<LRESULT> Form1::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED && OnClick(LOWORD(wparam))) return 0;
      break;
    case WM_CTLCOLORSTATIC:
      return OnControlColor(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_DRAWITEM:
      if (static_cast<int>(wparam) == ControlId("Image1")) {
        DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        return TRUE;
      }
      break;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wparam));
      return 0;
    case WM_ACTIVATE:
      // Keep the focused control across a box or another program, as a
      // dialog does.
      if (LOWORD(wparam) == WA_INACTIVE && IsChild(window_, GetFocus())) last_focus_ = GetFocus();
      break;
    case WM_SETFOCUS:
      SetFocus(last_focus_);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(window_font_);
    case WM_DPICHANGED: {
      const RECT& suggested = *reinterpret_cast<const RECT*>(lparam);
      SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyDpi(HIWORD(wparam));
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
      window_ = nullptr;
      break;
  }
  return std::nullopt;
}

bool Form1::OnClick(int id) {
  switch (id) {
    case ControlId("cmdOpen"):
      commands_.Open();
      return true;
    case ControlId("cmdSave"):
      commands_.Save();
      return true;
    case ControlId("Command1"):
      commands_.Remove();
      return true;
    case ControlId("cryRestore"):
      commands_.Restore();
      return true;
  }
  return false;
}

std::optional<LRESULT> Form1::OnControlColor(HDC dc, HWND control) const {
  const int row = GetDlgCtrlID(control) - ControlId(kControls.front().name);
  if (row < 0 || row >= static_cast<int>(kControls.size())) return std::nullopt;
  const layout::Control& label = kControls[static_cast<std::size_t>(row)];
  if (label.back.kind == layout::Color::Kind::kDefault) return std::nullopt;
  if (label.fore.kind != layout::Color::Kind::kDefault) SetTextColor(dc, ColorRef(label.fore));
  SetBkColor(dc, ColorRef(label.back));
  SetDCBrushColor(dc, ColorRef(label.back));
  return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
}

void Form1::DrawPicture(const DRAWITEMSTRUCT& item) const {
  HDC source = CreateCompatibleDC(item.hDC);
  HGDIOBJ previous = SelectObject(source, picture_);
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right - item.rcItem.left,
         item.rcItem.bottom - item.rcItem.top, source, 0, 0, SRCCOPY);
  SelectObject(source, previous);
  DeleteDC(source);
}

void Form1::OnDropFiles(HDROP drop) {
  const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  std::wstring name(length, L'\0');
  DragQueryFileW(drop, 0, name.data(), length + 1);
  DragFinish(drop);
  if (!name.empty()) commands_.OpenPath(Utf8FromWide(name));
}

}  // namespace vantrel::win32
