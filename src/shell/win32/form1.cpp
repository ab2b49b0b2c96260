#include "shell/win32/form1.h"

// Needs the types windows.h declares.
#include <oleacc.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

#include "api/vantrel.h"
#include "shell/layout/form_rules.h"
#include "shell/win32/resource_ids.h"
#include "shell/win32/title_picture.h"

namespace vantrel::win32 {
namespace {

using layout::ControlKind;
using layout::kControls;
using layout::TakesFocus;
using layout::TwipsToPixels;

constexpr wchar_t kClassName[] = L"Form1";
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES;
// The open list of cmbPoke shows about a dozen entries.
constexpr int kDropDownTwips = 12 * 240;

// Windows ties the tab order to the stacking order. The controls that take
// the focus never overlap one another, so stacking them in tab order changes
// nothing on screen; the others keep the table's order below them.
std::array<const layout::Control*, kControls.size()> StackingOrder() {
  std::array<const layout::Control*, kControls.size()> order{};
  auto next = std::copy(layout::kTabOrder.begin(), layout::kTabOrder.end(), order.begin());
  for (const layout::Control& control : kControls) {
    if (!TakesFocus(control)) *next++ = &control;
  }
  return order;
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

// The label that names the list lies under the picture, not before the list
// in the window order, where screen readers look for a list's label: the
// list carries the label's caption as its own accessible name. Without COM
// or where the system keeps no such names, the list goes unnamed.
void NameForScreenReaders(HWND control, std::string_view name) {
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
    return;
  }
  std::wstring text = WideFromUtf8(name);
  services->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, text.data());
  services->Release();
}

}  // namespace

Form1::Form1(HINSTANCE instance, DialogBackend& dialogs, CryPlayer& player)
    : picture_gif_(TitlePictureResource(instance)),
      commands_(
          *this, [&dialogs] { return std::make_unique<clsCommonDialog>(dialogs); }, player) {
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
  for (const layout::Control* control : StackingOrder()) {
    HWND child = CreateWindowExW(0, ClassOf(control->kind), WideFromUtf8(control->caption).c_str(),
                                 StyleOf(*control), 0, 0, 0, 0, window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(ChildId(*control))),
                                 instance, nullptr);
    SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  SetSpeciesList({SpeciesList().begin(), SpeciesList().end()});
  NameForScreenReaders(Control(layout::kNamedList),
                       layout::ControlNamed(layout::kListLabel).caption);
  NameForScreenReaders(Control(layout::kPlayButton), layout::kPlayButtonName);
  CreateTooltips(instance);
  last_focus_ = Control(*layout::kTabOrder.front());
}

// One tooltip for each control that works on the image, empty until an
// image is open.
void Form1::CreateTooltips(HINSTANCE instance) {
  tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance, nullptr);
  std::vector<layout::ControlName> tipped(layout::kImageControls.begin(),
                                          layout::kImageControls.end());
  tipped.push_back(layout::kPlayButton);
  for (layout::ControlName name : tipped) {
    TTTOOLINFOW tool = ToolOf(name);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

TTTOOLINFOW Form1::ToolOf(layout::ControlName name) const {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(Control(name));
  return tool;
}

void Form1::SetTooltip(layout::ControlName name, const std::string& text) {
  std::wstring wide = WideFromUtf8(text);
  TTTOOLINFOW tool = ToolOf(name);
  tool.lpszText = wide.data();
  SendMessageW(tooltips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Form1::SetRomPath(const std::string& path) {
  rom_path_ = path;
  for (layout::ControlName name : layout::kImageControls) SetTooltip(name, path);
}

void Form1::SetPlayState(bool enabled, const std::string& tooltip) {
  EnableWindow(Control(layout::kPlayButton), enabled);
  SetTooltip(layout::kPlayButton, tooltip);
}

void Form1::ApplyDpi(UINT dpi) {
  const double scale = dpi / 96.0;
  DeleteFonts();
  for (const layout::Control& control : kControls) {
    HWND child = Control(control);
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

  const layout::Control& image = layout::ControlNamed(layout::kTitlePicture);
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

void Form1::SetSpeciesList(const std::vector<std::string>& names) {
  HWND list = Control(layout::kNamedList);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (const std::string& name : names) {
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromUtf8(name).c_str()));
  }
}

std::int16_t Form1::Selection() const {
  return static_cast<std::int16_t>(SendMessageW(Control(layout::kNamedList), CB_GETCURSEL, 0, 0));
}

void Form1::SetSelection(std::int16_t position) {
  HWND list = Control(layout::kNamedList);
  const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
  if (position < -1 || position >= count) throw RuntimeError(kInvalidProcedureCall);
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

void Form1::SetEditingEnabled(bool enabled) {
  for (layout::ControlName name : layout::kImageControls) EnableWindow(Control(name), enabled);
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
      // The user picked another species; the commands' own choices send
      // no notice and tell the core themselves.
      if (HIWORD(wparam) == CBN_SELCHANGE && LOWORD(wparam) == ChildId(layout::kNamedList)) {
        commands_.SelectionChanged();
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      return OnControlColor(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_DRAWITEM:
      if (static_cast<int>(wparam) == ChildId(layout::kTitlePicture)) {
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
  for (const layout::Click& click : layout::kClicks) {
    if (ChildId(click.button) == id) {
      (commands_.*click.command)();
      return true;
    }
  }
  return false;
}

std::optional<LRESULT> Form1::OnControlColor(HDC dc, HWND control) const {
  const int row = GetDlgCtrlID(control) - ChildId(kControls.front());
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
  if (!name.empty()) OpenFile(name);
}

void Form1::OpenFile(const std::wstring& name) {
  std::string path;
  try {
    path = Utf8FromWide(name);
  } catch (const RuntimeError& error) {
    ShowFailureBox(error);
    return;
  }
  commands_.OpenPath(path);
}

}  // namespace vantrel::win32
