#include <gtest/gtest.h>

// DROPFILES, after the types of windows.h that form1.h brings.
#include "shell/win32/form1.h"

#include <mmsystem.h>
#include <oleacc.h>
#include <shlobj.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "cry/species_list.h"
#include "runtime/error.h"
#include "runtime/path_text.h"
#include "runtime/wide_text.h"
#include "shell/win32/command_line.h"
#include "shell/win32/title_picture.h"
#include "shell/win32/wav_cry_player.h"
#include "support/recording_box.h"
#include "support/scripted_dialog.h"
#include "support/temp_files.h"

namespace vantrel::win32 {
namespace {

namespace fs = std::filesystem;
using layout::ControlKind;
using layout::kControls;
using test::ShownBox;

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), text.size())));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font;
}

void ExpectFont(HWND window, const layout::Font& expected, UINT dpi, std::string_view name) {
  const LOGFONTW font = FontOf(window);
  EXPECT_EQ(Utf8FromWide(font.lfFaceName), expected.family) << name;
  EXPECT_EQ(font.lfHeight, -std::lround(expected.points * dpi / 72.0)) << name;
  EXPECT_EQ(font.lfWeight, expected.bold ? FW_BOLD : FW_NORMAL) << name;
  EXPECT_EQ(font.lfCharSet, expected.charset) << name;
  EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut) << name;
}

RECT TableRect(const layout::Control& control, double scale) {
  using layout::TwipsToPixels;
  return {TwipsToPixels(control.left, scale), TwipsToPixels(control.top, scale),
          TwipsToPixels(control.left + control.width, scale),
          TwipsToPixels(control.top + control.height, scale)};
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT common;
  return IntersectRect(&common, &a, &b) != FALSE;
}

class Form1Test : public ::testing::Test {
 protected:
  Form1Test() { ShowWindow(form.Handle(), SW_SHOWNOACTIVATE); }

  HWND Get(std::string_view name) const {
    for (const layout::Control& control : kControls) {
      if (control.name == name) return form.Control(control);
    }
    ADD_FAILURE() << "no control " << name;
    return nullptr;
  }
  // The tooltip the control shows, as a user would read it.
  std::wstring TooltipOf(std::string_view name) const {
    HWND tooltips = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) {
          if (ClassOf(window) != TOOLTIPS_CLASSW) return TRUE;
          *reinterpret_cast<HWND*>(found) = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&tooltips));
    std::wstring text(1024, L'\0');
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = form.Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(Get(name));
    tool.lpszText = text.data();
    SendMessageW(tooltips, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
    return text.c_str();
  }
  // Drops `name` on the window as Explorer does.
  void DropFile(const std::wstring& name) {
    const std::size_t size = sizeof(DROPFILES) + (name.size() + 2) * sizeof(wchar_t);
    HGLOBAL drop = GlobalAlloc(GHND, size);
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), name.c_str(),
                name.size() * sizeof(wchar_t));
    GlobalUnlock(drop);
    SendMessageW(form.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  }
  double Scale() const { return GetDpiForWindow(form.Handle()) / 96.0; }
  RECT ClientRectOf(HWND control) const {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, form.Handle(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  void Click(std::string_view button) { SendMessageW(Get(button), BM_CLICK, 0, 0); }

  // Every control at its table place and with its table font for `dpi`.
  void ExpectPlacedFor(UINT dpi) const {
    for (const layout::Control& control : kControls) {
      HWND window = Get(control.name);
      ASSERT_NE(window, nullptr) << control.name;
      const RECT rect = ClientRectOf(window);
      const RECT expected = TableRect(control, dpi / 96.0);
      EXPECT_EQ(rect.left, expected.left) << control.name;
      EXPECT_EQ(rect.top, expected.top) << control.name;
      EXPECT_EQ(rect.right, expected.right) << control.name;
      // The list's own height follows its font; its window reaches down
      // over the open list.
      if (control.kind != ControlKind::kDropDownList) {
        EXPECT_EQ(rect.bottom, expected.bottom) << control.name;
      }
      if (control.font) ExpectFont(window, *control.font, dpi, control.name);
    }
  }

  GdiplusSession gdiplus;
  test::ScriptedDialogBackend dialogs;
  test::RecordingMessageBox boxes;
  WavCryPlayer player;
  Form1 form{GetModuleHandleW(nullptr), dialogs, player};
  test::TempDir dir;
};

TEST_F(Form1Test, WindowIsCaptionedSizableAndSizedFromTheTable) {
  EXPECT_EQ(TextOf(form.Handle()), L"Vantrel");
  const LONG_PTR style = GetWindowLongPtrW(form.Handle(), GWL_STYLE);
  for (LONG_PTR part : {WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX}) {
    EXPECT_EQ(style & part, part);
  }
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, layout::TwipsToPixels(5745, Scale()));
  EXPECT_EQ(client.bottom, layout::TwipsToPixels(4125, Scale()));
  EXPECT_NE(GetClassLongPtrW(form.Handle(), GCLP_HICON), 0);
  ExpectFont(form.Handle(), layout::kWindow.font, GetDpiForWindow(form.Handle()), "Form1");
}

TEST_F(Form1Test, ControlsFollowTheLayoutTable) {
  ExpectPlacedFor(GetDpiForWindow(form.Handle()));
  for (const layout::Control& control : kControls) {
    HWND window = Get(control.name);
    EXPECT_EQ(IsWindowEnabled(window) != FALSE, control.enabled_at_start) << control.name;
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const bool takes_focus =
        control.kind == ControlKind::kCommandButton || control.kind == ControlKind::kDropDownList;
    EXPECT_EQ((style & WS_TABSTOP) != 0, takes_focus) << control.name;
    EXPECT_EQ(ClassOf(window), control.kind == ControlKind::kCommandButton  ? L"Button"
                               : control.kind == ControlKind::kDropDownList ? L"ComboBox"
                                                                            : L"Static")
        << control.name;
    if (control.kind == ControlKind::kDropDownList) {
      EXPECT_EQ(style & 3, CBS_DROPDOWNLIST) << "a list to pick from, not to type in";
    } else if (control.kind != ControlKind::kPicture) {
      EXPECT_EQ(Utf8FromWide(TextOf(window)), control.caption);
    }
  }
  EXPECT_EQ(TextOf(Get("Label1")), L"Select Pok\u00E9mon:");
}

TEST_F(Form1Test, MovingToAMonitorOfAnotherDpiScalesEverything) {
  RECT suggested{10, 20, 10 + 600, 20 + 450};
  SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  RECT frame;
  GetWindowRect(form.Handle(), &frame);
  EXPECT_TRUE(EqualRect(&frame, &suggested)) << "the system's suggested frame is taken";
  ExpectPlacedFor(144);
  ExpectFont(form.Handle(), layout::kWindow.font, 144, "Form1");
}

TEST_F(Form1Test, OverlappingControlsStackAsTheTableSays) {
  std::vector<std::string_view> stacked;  // topmost first
  for (HWND child = GetWindow(form.Handle(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    for (const layout::Control& control : kControls) {
      if (Get(control.name) == child) stacked.push_back(control.name);
    }
  }
  ASSERT_EQ(stacked.size(), kControls.size());
  auto place = [&](std::string_view name) {
    return std::find(stacked.begin(), stacked.end(), name) - stacked.begin();
  };
  for (std::size_t upper = 0; upper < kControls.size(); ++upper) {
    for (std::size_t lower = upper + 1; lower < kControls.size(); ++lower) {
      if (Overlap(TableRect(kControls[upper], 1), TableRect(kControls[lower], 1))) {
        EXPECT_LT(place(kControls[upper].name), place(kControls[lower].name))
            << kControls[upper].name << " over " << kControls[lower].name;
      }
    }
  }
}

TEST_F(Form1Test, TabVisitsOpenSaveListPlayRestoreRemoveSkippingDisabledControls) {
  HWND open = Get("cmdOpen");
  EXPECT_EQ(GetNextDlgTabItem(form.Handle(), open, FALSE), open) << "only Open is enabled";
  form.SetEditingEnabled(true);
  form.SetPlayState(true, "");
  std::vector<HWND> forward{open};
  for (int step = 0; step < 6; ++step) {
    forward.push_back(GetNextDlgTabItem(form.Handle(), forward.back(), FALSE));
  }
  EXPECT_EQ(forward, (std::vector<HWND>{open, Get("cmdSave"), Get("cmbPoke"), Get("cmdPlay"),
                                        Get("cryRestore"), Get("Command1"), open}));
  EXPECT_EQ(GetNextDlgTabItem(form.Handle(), open, TRUE), Get("Command1"));
}

TEST_F(Form1Test, ListHoldsTheSpeciesInOrderWithNothingSelected) {
  HWND list = Get("cmbPoke");
  ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(kSpeciesCount));
  for (std::size_t i = 0; i < kSpeciesCount; ++i) {
    wchar_t entry[64] = {};
    SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
    EXPECT_EQ(Utf8FromWide(entry), SpeciesList()[i]);
  }
  EXPECT_EQ(form.Selection(), -1);
}

TEST_F(Form1Test, WindowStateIsServedByTheControls) {
  form.SetSelection(250);
  EXPECT_EQ(SendMessageW(Get("cmbPoke"), CB_GETCURSEL, 0, 0), 250);
  SendMessageW(Get("cmbPoke"), CB_SETCURSEL, 24, 0);
  EXPECT_EQ(form.Selection(), 24);
  form.SetSelection(-1);
  EXPECT_EQ(form.Selection(), -1);
  EXPECT_THROW(form.SetSelection(386), RuntimeError);

  form.SetEditingEnabled(true);
  for (std::string_view name : {"cmbPoke", "cmdSave", "Command1", "cryRestore", "cmdOpen"}) {
    EXPECT_TRUE(IsWindowEnabled(Get(name))) << name;
  }
  EXPECT_EQ(form.OwnerHandle(), reinterpret_cast<std::uintptr_t>(form.Handle()));
  form.SetRomPath("C:\\Pok\xC3\xA9mon.gba");
  EXPECT_EQ(form.RomPath(), "C:\\Pok\xC3\xA9mon.gba");
}

TEST_F(Form1Test, ButtonsRunTheirCommands) {
  const fs::path image = test::MakeImage(dir / "Feuer \xE7\x81\xAB.gba");
  std::vector<std::uint8_t> expected = test::ReadBytes(image);
  dialogs.Accept(Utf8FromPath(image));

  Click("cmdOpen");
  ASSERT_EQ(dialogs.received.size(), 1u);
  EXPECT_EQ(dialogs.received[0].lpstrTitle, "Open Pokemon GBA ROM...");
  EXPECT_EQ(dialogs.received[0].hwndOwner, form.OwnerHandle());
  EXPECT_EQ(form.RomPath(), Utf8FromPath(image));
  EXPECT_EQ(form.Selection(), 5) << "Charizard, the stock cry";
  EXPECT_TRUE(IsWindowEnabled(Get("cmbPoke")));
  // Each control that writes names the image it writes to.
  for (std::string_view name : {"cmbPoke", "cmdSave", "Command1", "cryRestore"}) {
    EXPECT_EQ(TooltipOf(name), image.native()) << name;
  }
  EXPECT_EQ(TextOf(form.Handle()), L"Vantrel");

  SendMessageW(Get("cmbPoke"), CB_SETCURSEL, 24, 0);
  Click("cmdSave");
  expected[0x791EE] = 25;
  EXPECT_EQ(test::ReadBytes(image), expected);
  Click("Command1");
  expected[0x791EE] = 0;
  EXPECT_EQ(test::ReadBytes(image), expected);
  Click("cryRestore");
  expected[0x791EE] = 6;
  EXPECT_EQ(test::ReadBytes(image), expected);
  // A species past 251 is saved too, and selected when the image is opened
  // again; Restore puts the code back as the game has it.
  SendMessageW(Get("cmbPoke"), CB_SETCURSEL, 383, 0);
  Click("cmdSave");
  dialogs.Accept(Utf8FromPath(image));
  Click("cmdOpen");
  EXPECT_EQ(form.Selection(), 383);
  Click("cryRestore");
  EXPECT_EQ(test::ReadBytes(image), expected);

  const ShownBox opened{"ROM opened successfully!", "Vantrel"};
  const ShownBox saved{"ROM saved successfully!", "Vantrel"};
  const ShownBox restored{"Cry restored successfully!", "Vantrel"};
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{opened,
                                                saved,
                                                {"Cry removed successfully!", "Vantrel"},
                                                restored,
                                                saved,
                                                opened,
                                                restored}));
}

// The list shows the names the image gives, and the built-in ones again for
// an image that gives none.
TEST_F(Form1Test, TheListShowsTheOpenImagesNames) {
  std::vector<std::uint8_t> french = test::ImageBytes();
  std::vector<std::string> names = test::EnglishNames();
  names[6] = "DRACAUFEU";
  test::PutNames(french, 0x70000, 3, names);
  const fs::path image = dir / "french.gba";
  test::WriteBytes(image, french);
  const auto entry = [&](int position) {
    std::wstring text(64, L'\0');
    text.resize(static_cast<std::size_t>(SendMessageW(Get("cmbPoke"), CB_GETLBTEXT, position,
                                                      reinterpret_cast<LPARAM>(text.data()))));
    return Utf8FromWide(text);
  };
  dialogs.Accept(Utf8FromPath(image));
  Click("cmdOpen");
  EXPECT_EQ(SendMessageW(Get("cmbPoke"), CB_GETCOUNT, 0, 0), 386);
  EXPECT_EQ(form.Selection(), 5);
  EXPECT_EQ(entry(5), "Dracaufeu");
  dialogs.Accept(Utf8FromPath(test::MakeImage(dir / "english.gba")));
  Click("cmdOpen");
  EXPECT_EQ(entry(5), "Charizard");
}

// The user's pick in the list reaches the core, whose answer the button
// shows; without a sound device a click says so.
TEST_F(Form1Test, PlayFollowsTheList) {
  std::vector<std::uint8_t> bytes = test::ReleaseImageBytes(kReleases[9], 3);
  test::PutCry(bytes, kReleases[9].cry_table_word, 25);
  const fs::path image = dir / "leaf green.gba";
  test::WriteBytes(image, bytes);
  DropFile(image.native());
  EXPECT_TRUE(IsWindowEnabled(Get("cmdPlay")));
  EXPECT_EQ(TooltipOf("cmdPlay"), L"Play Venusaur's cry from " + image.native());

  SendMessageW(Get("cmbPoke"), CB_SETCURSEL, 24, 0);
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(ChildId("cmbPoke"), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Get("cmbPoke")));
  EXPECT_EQ(TooltipOf("cmdPlay"), L"Play Pikachu's cry from " + image.native());
  // Where Wine has a sound device, play_test.sh hears the cry.
  Click("cmdPlay");
  if (waveOutGetNumDevs() == 0) {
    EXPECT_EQ(
        boxes.shown.back(),
        (ShownBox{"Vantrel cannot play sound: Windows has no sound output device.", "Vantrel"}));
  }

  SendMessageW(Get("cmbPoke"), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(ChildId("cmbPoke"), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Get("cmbPoke")));
  EXPECT_FALSE(IsWindowEnabled(Get("cmdPlay")));
  EXPECT_EQ(TooltipOf("cmdPlay"), L"");
}

TEST_F(Form1Test, ADroppedFileIsOpened) {
  const fs::path image = test::MakeImage(dir / "dropped.gba", test::kImageSize, 25);
  DropFile(image.native());
  EXPECT_EQ(form.RomPath(), Utf8FromPath(image));
  EXPECT_EQ(form.Selection(), 24) << "Pikachu";
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{{"ROM opened successfully!", "Vantrel"}}));
}

// A Windows name may hold a lone surrogate, which no UTF-8 text holds: it is
// refused, not turned into the name of another file.
TEST_F(Form1Test, NamesNoUtf8TextCanHoldAreRefused) {
  const std::wstring name = (dir.Path() / L"caf\xD800.gba").native();
  const fs::path lookalike = test::MakeImage(dir / "caf\xEF\xBF\xBD.gba");
  DropFile(name);
  form.OpenFile(name);
  const ShownBox refused{"Bad file name or number", "Error: 52"};
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{refused, refused}));
  EXPECT_EQ(form.RomPath(), "");
  EXPECT_FALSE(IsWindowEnabled(Get("cmdSave")));
}

// What a screen reader reads as the control's name, if the system reads
// names at all.
std::optional<std::wstring> AccessibleNameOf(HWND control) {
  IAccessible* accessible = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&accessible)))) {
    return std::nullopt;
  }
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  std::optional<std::wstring> text;
  if (SUCCEEDED(accessible->get_accName(self, &name))) text = name != nullptr ? name : L"";
  SysFreeString(name);
  accessible->Release();
  return text;
}

// Whether this system's accessibility keeps the names a program gives its
// controls; Wine's does not (E_NOTIMPL). Tried on `scratch`.
bool KeepsGivenNames(HWND scratch) {
  IAccPropServices* services = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
    return false;
  }
  const HRESULT kept = services->SetHwndPropStr(scratch, OBJID_CLIENT, CHILDID_SELF,
                                                PROPID_ACC_NAME, const_cast<wchar_t*>(L"x"));
  services->Release();
  return SUCCEEDED(kept);
}

// COM for the life of the object, as the program has it.
struct ComApartment {
  ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComApartment() { CoUninitialize(); }
};

// The label that names the list lies under the picture, where no screen
// reader looks for it; the list carries its caption as its own name.
TEST(Form1Accessibility, ListIsNamedByItsLabelAndButtonsByTheirCaptions) {
  const ComApartment com;
  GdiplusSession gdiplus;
  test::ScriptedDialogBackend dialogs;
  WavCryPlayer player;
  Form1 form(GetModuleHandleW(nullptr), dialogs, player);
  EXPECT_EQ(AccessibleNameOf(form.Control("cryRestore")), L"Restore Removed Cry");
  if (!KeepsGivenNames(form.Control("Image1"))) {
    GTEST_SKIP() << "this system keeps no names a program gives its controls (Wine's oleacc "
                    "answers E_NOTIMPL); the list's name is checked on Windows";
  }
  EXPECT_EQ(AccessibleNameOf(form.Control("cmbPoke")), L"Select Pok\u00E9mon:");
  EXPECT_EQ(AccessibleNameOf(form.Control("cmdPlay")), L"Play cry");
}

TEST_F(Form1Test, Label2IsPaleCyanOnTheWindowFrameColour) {
  HDC dc = GetDC(form.Handle());
  const LRESULT brush = SendMessageW(form.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(Get("Label2")));
  EXPECT_NE(brush, 0);
  EXPECT_EQ(GetTextColor(dc), RGB(192, 255, 255));
  EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(GetDCBrushColor(dc), GetSysColor(COLOR_WINDOWFRAME));
  SendMessageW(form.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(Get("Label1")));
  EXPECT_NE(GetTextColor(dc), RGB(192, 255, 255)) << "Label1 keeps the system's colours";
  ReleaseDC(form.Handle(), dc);
}

TEST(CommandLine, OptionsAreAnsweredAndNeverTakenForAnImage) {
  using Action = CommandLine::Action;
  for (const wchar_t* help : {L"/?", L"-h", L"--help"}) {
    const CommandLine line = ParseCommandLine({help});
    EXPECT_EQ(line.action, Action::kHelp);
    EXPECT_EQ(line.text.rfind("Usage: Vantrel.exe [--] [IMAGE]\n", 0), 0u) << line.text;
  }
  const CommandLine version = ParseCommandLine({L"--version"});
  EXPECT_EQ(version.action, Action::kVersion);
  EXPECT_EQ(version.text, "Vantrel 1.00");
  const CommandLine bogus = ParseCommandLine({L"--bogus", L"fire.gba"});
  EXPECT_EQ(bogus.action, Action::kUsageError);
  EXPECT_EQ(bogus.text, "Unknown option '--bogus'.\n\nUsage: Vantrel.exe [--] [IMAGE]");
  EXPECT_EQ(ParseCommandLine({L"a.gba", L"b.gba"}).action, Action::kUsageError);

  EXPECT_EQ(ParseCommandLine({}).image, std::nullopt);
  EXPECT_EQ(ParseCommandLine({L"-"}).image, L"-");
  const CommandLine dashed = ParseCommandLine({L"--", L"--help"});
  EXPECT_EQ(dashed.action, Action::kShowWindow);
  EXPECT_EQ(dashed.image, L"--help");
}

TEST(TitlePicture, IsTheFirstFrameStretchedToTheControl) {
  GdiplusSession gdiplus;
  HBITMAP picture = StretchedFirstFrame(TitlePictureResource(GetModuleHandleW(nullptr)), 408, 296);
  ASSERT_NE(picture, nullptr);
  BITMAP shape{};
  GetObjectW(picture, sizeof(shape), &shape);
  EXPECT_EQ(shape.bmWidth, 408);
  EXPECT_EQ(shape.bmHeight, 296);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, picture);
  // Row 2 of the 160 is the red strip of the first frame (the second
  // frame's is green); row 130 lies in the black band, which only a
  // stretched picture reaches at y = 240.
  EXPECT_EQ(GetPixel(dc, 100, 5), RGB(200, 32, 32));
  EXPECT_EQ(GetPixel(dc, 100, 240), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 407, 295), RGB(112, 12, 16)) << "the bottom strip's last row";
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(picture);
}

}  // namespace
}  // namespace vantrel::win32
