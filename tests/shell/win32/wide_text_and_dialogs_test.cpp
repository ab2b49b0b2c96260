#include <gtest/gtest.h>

#include <string_view>

#include "dialogs/cls_common_dialog.h"
#include "runtime/error.h"
#include "runtime/wide_text.h"
#include "shell/win32/file_dialogs_win32.h"

namespace vantrel::win32 {
namespace {

using namespace std::string_view_literals;

TEST(WideText, EveryCharacterRoundTripsNulsIncluded) {
  const std::string_view utf8 = "Pok\xC3\xA9mon\0\xE7\x81\xAB \xF0\x9F\x94\xA5\0"sv;
  const std::wstring wide = WideFromUtf8(utf8);
  EXPECT_EQ(wide, L"Pok\u00E9mon\0\u706B \U0001F525\0"sv);
  EXPECT_EQ(Utf8FromWide(wide), utf8);
  EXPECT_EQ(WideFromUtf8(""), L"");
  EXPECT_EQ(Utf8FromWide(L""), "");
}

// The record as the Open command leaves it before the dialog call.
OpenFileNameRecord OpenRecord() {
  OpenFileNameRecord record;
  record.lStructSize = kOpenFileNameSize;
  record.hwndOwner = 0x1234;
  record.lpstrFilter = ConvertFilter("GBA ROMs (*.gba)|*.gba");
  record.lpstrFile = std::string(kLongestPath - 1, ' ');
  record.nMaxFile = kLongestPath;
  record.lpstrFileTitle = std::string(254, ' ');
  record.nMaxFileTitle = 255;
  record.lpstrTitle = "Open Pokemon GBA ROM...";
  record.Flags = kOfnHideReadOnly | kOfnPathMustExist | kOfnFileMustExist;
  record.nFilterIndex = 2;
  return record;
}

TEST(NativeDialogRecord, CarriesTheRecordInWideForm) {
  NativeDialogRecord call(OpenRecord());
  const OPENFILENAMEW& native = call.Native();
  EXPECT_EQ(native.lStructSize, sizeof(OPENFILENAMEW));
  EXPECT_EQ(native.hwndOwner, reinterpret_cast<HWND>(0x1234));
  // Description, NUL, pattern, NUL and the closing NUL.
  EXPECT_EQ(std::wstring_view(native.lpstrFilter, 24), L"GBA ROMs (*.gba)\0*.gba\0\0"sv);
  EXPECT_EQ(native.nFilterIndex, 2u);
  EXPECT_EQ(native.nMaxFile, kLongestPath);
  EXPECT_EQ(native.lpstrFile[0], L'\0') << "a buffer of blanks proposes no name";
  EXPECT_EQ(native.nMaxFileTitle, 255u);
  EXPECT_STREQ(native.lpstrTitle, L"Open Pokemon GBA ROM...");
  EXPECT_EQ(native.lpstrInitialDir, nullptr);
  EXPECT_EQ(native.lpstrDefExt, nullptr);
  EXPECT_EQ(native.Flags, 0x1804u);
}

TEST(NativeDialogRecord, KeepsAProposedNameFolderAndExtension) {
  OpenFileNameRecord record = OpenRecord();
  record.lpstrFile = "Feuer \xE7\x81\xAB.gpl";
  record.lpstrFile.resize(128, '\0');
  record.nMaxFile = 128;
  record.lpstrInitialDir = "C:\\Pok\xC3\xA9mon";
  record.lpstrDefExt = ".gpl";
  NativeDialogRecord call(record);
  EXPECT_STREQ(call.Native().lpstrFile, L"Feuer \u706B.gpl");
  EXPECT_EQ(call.Native().nMaxFile, 128u);
  EXPECT_STREQ(call.Native().lpstrInitialDir, L"C:\\Pok\u00E9mon");
  EXPECT_STREQ(call.Native().lpstrDefExt, L"gpl") << "the dialog adds the dot itself";
}

TEST(NativeDialogRecord, ReturnsTheChosenPathAsUtf8) {
  OpenFileNameRecord record = OpenRecord();
  NativeDialogRecord call(record);
  // What the dialog writes when the user accepts.
  const std::wstring chosen = L"C:\\Pok\u00E9mon\\Feuer \u706B.gba";
  chosen.copy(call.Native().lpstrFile, chosen.size());
  call.Native().lpstrFile[chosen.size()] = L'\0';
  call.Native().nFileOffset = 11;
  call.Native().nFileExtension = 19;
  call.Native().nFilterIndex = 1;
  call.CopyResultTo(record);

  const std::string path = "C:\\Pok\xC3\xA9mon\\Feuer \xE7\x81\xAB.gba";
  EXPECT_EQ(record.lpstrFile.substr(0, record.lpstrFile.find('\0')), path);
  EXPECT_EQ(record.nFilterIndex, 1u);
  // Positions count UTF-8 bytes now: "é" takes two, the ideograph three.
  EXPECT_EQ(path.substr(record.nFileOffset), "Feuer \xE7\x81\xAB.gba");
  EXPECT_EQ(path.substr(record.nFileExtension), "gba");
}

// A lone surrogate has no UTF-8 form: the chosen name is refused, and the
// record keeps what it held.
TEST(NativeDialogRecord, RefusesANameNoUtf8TextCanHold) {
  OpenFileNameRecord record = OpenRecord();
  NativeDialogRecord call(record);
  const std::wstring chosen = L"C:\\caf\xD800.gba";
  chosen.copy(call.Native().lpstrFile, chosen.size());
  try {
    call.CopyResultTo(record);
    ADD_FAILURE() << "the name was taken";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), kBadFileNameOrNumber);
  }
  EXPECT_EQ(record.lpstrFile, OpenRecord().lpstrFile);
  EXPECT_EQ(WideArguments(L"Vantrel.exe \"caf\xD800.gba\" --"),
            (std::vector<std::wstring>{L"caf\xD800.gba", L"--"}));
}

}  // namespace
}  // namespace vantrel::win32
