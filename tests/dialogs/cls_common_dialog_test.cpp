#include <gtest/gtest.h>

#include "dialogs/cls_common_dialog.h"
#include "runtime/app.h"
#include "runtime/error.h"
#include "support/scripted_dialog.h"

namespace vantrel {
namespace {

using namespace std::string_literals;

constexpr std::uint32_t kFlags = 0x1804;

class ClsCommonDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { SetAppInstanceHandle(0x400000); }
  void TearDown() override { SetAppInstanceHandle(0); }

  std::string Open(std::string_view init_dir = "") {
    return dialog.ShowOpen(0x1234, "Pick", init_dir, "GBA ROMs (*.gba)|*.gba|All|*.*", kFlags);
  }

  test::ScriptedDialogBackend backend;
  clsCommonDialog dialog{backend};
};

TEST(ConvertFilter, SeparatorsBecomeNulsWithOneClosingNul) {
  EXPECT_EQ(ConvertFilter("GBA ROMs (*.gba)|*.gba"), "GBA ROMs (*.gba)\0*.gba\0"s);
  EXPECT_EQ(ConvertFilter("A|a|B|b|"), "A\0a\0B\0b\0"s);
  EXPECT_EQ(ConvertFilter("A\0a\0"s), "A\0a\0"s);
  EXPECT_EQ(ConvertFilter(""), "\0"s);
}

TEST_F(ClsCommonDialogTest, OpenFillsTheRecordAndLeavesTheRestAlone) {
  backend.Accept("/roms/fire.gba");
  EXPECT_EQ(dialog.FilterIndex(), 0);
  EXPECT_EQ(Open("/start"), "/roms/fire.gba");

  const OpenFileNameRecord& record = backend.received.at(0);
  EXPECT_EQ(record.lStructSize, 76u);
  EXPECT_EQ(record.hwndOwner, 0x1234u);
  EXPECT_EQ(record.hInstance, 0x400000u);
  EXPECT_EQ(record.lpstrFilter, "GBA ROMs (*.gba)\0*.gba\0All\0*.*\0"s);
  EXPECT_EQ(record.lpstrFile, std::string(kLongestPath - 1, ' '));
  EXPECT_EQ(record.nMaxFile, kLongestPath);
  EXPECT_EQ(record.nMaxFileTitle, 255u);
  EXPECT_EQ(record.lpstrInitialDir, "/start");
  EXPECT_EQ(record.lpstrTitle, "Pick");
  EXPECT_EQ(record.Flags, kFlags);
  EXPECT_EQ(record.nFilterIndex, 0u);  // first dialog starts on the first filter
  EXPECT_EQ(record.lpstrDefExt, "");
  EXPECT_EQ(backend.calls, std::vector<std::string>{"open"});
}

TEST_F(ClsCommonDialogTest, TheObjectRemembersItsLastPathAndFilter) {
  backend.Accept("  /roms/first.gba  ", 2);
  backend.Accept("/roms/second.gba", 1);
  EXPECT_EQ(Open(), "/roms/first.gba");  // blanks trimmed
  EXPECT_EQ(dialog.FilterIndex(), 2);
  EXPECT_EQ(Open(), "/roms/second.gba");
  EXPECT_EQ(Open("/given"), "");  // nothing scripted: cancel

  EXPECT_EQ(backend.received[0].lpstrInitialDir, "");
  EXPECT_EQ(backend.received[1].lpstrInitialDir, "/roms/first.gba");
  EXPECT_EQ(backend.received[1].nFilterIndex, 2u);  // starts on the filter picked last
  EXPECT_EQ(backend.received[2].lpstrInitialDir, "/given");
  EXPECT_EQ(dialog.FilterIndex(), 1);  // kept through the cancel
}

TEST_F(ClsCommonDialogTest, CancelKeepsBothLastValues) {
  backend.Accept("/roms/kept.gba", 2);
  Open();
  backend.Cancel();
  EXPECT_EQ(Open(), "");
  EXPECT_EQ(dialog.FilterIndex(), 2);
  Open();
  EXPECT_EQ(backend.received.back().lpstrInitialDir, "/roms/kept.gba");
}

TEST_F(ClsCommonDialogTest, SaveProposesANameAndLeavesItsDefaultExtension) {
  backend.Accept("/out/saved.gpl", 3);
  EXPECT_EQ(dialog.ShowSave(7, "Save as", "cry.gpl", "/out", "GPL|*.gpl", 0x2), "/out/saved.gpl");
  const OpenFileNameRecord& saved = backend.received.at(0);
  EXPECT_EQ(saved.lpstrFile.substr(0, 8), "cry.gpl\0"s);
  EXPECT_EQ(saved.lpstrFile.size(), saved.nMaxFile);
  EXPECT_EQ(saved.lpstrFile.find_first_not_of('\0', 7), std::string::npos);
  EXPECT_EQ(saved.lpstrDefExt, ".gpl");
  EXPECT_EQ(saved.lpstrInitialDir, "/out");
  EXPECT_EQ(saved.Flags, 0x2u);
  EXPECT_EQ(dialog.FilterIndex(), 3);

  Open();  // a save does not count as the last path, and its extension stays
  EXPECT_EQ(backend.received.at(1).lpstrInitialDir, "");
  EXPECT_EQ(backend.received.at(1).lpstrDefExt, ".gpl");
}

TEST_F(ClsCommonDialogTest, AProposedNameOver128CharactersIsAnError) {
  backend.Accept("/a");
  backend.Accept("/b");
  EXPECT_EQ(dialog.ShowSave(0, "", std::string(128, 'x'), "", "", 0), "/a");
  std::string accented;
  for (int i = 0; i < 128; ++i) accented += "\xC3\xA9";
  EXPECT_EQ(dialog.ShowSave(0, "", accented, "", "", 0), "/b");
  try {
    dialog.ShowSave(0, "", std::string(129, 'x'), "", "", 0);
    FAIL() << "no error raised";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 5);
  }
  EXPECT_EQ(backend.calls.size(), 2u);
}

TEST_F(ClsCommonDialogTest, LongPathsComeBackWhole) {
  // Built by appending: GCC 12 warns falsely on "literal" + std::string at -O3.
  std::string deep(1, '/');
  deep.append(300, 'd').append(1, '/').append(200, 'f').append(".gba");
  backend.Accept(deep);
  EXPECT_EQ(Open(), deep);
  backend.Accept(std::string(kLongestPath, 'x'));  // cannot fit: the platform refuses it
  EXPECT_EQ(Open(), "");
  EXPECT_EQ(dialog.FilterIndex(), 1);
}

}  // namespace
}  // namespace vantrel
