#include <gtest/gtest.h>

#include <string_view>

#include "dialogs/cls_common_dialog.h"
#include "runtime/app.h"
#include "runtime/error.h"
#include "support/scripted_dialog.h"

namespace vantrel {
namespace {

using namespace std::string_view_literals;

constexpr std::string_view kFilter = "GBA ROMs (*.gba)|*.gba";
constexpr std::uint32_t kFlags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;

TEST(ConvertFilter, SeparatorsBecomeNulsWithOneClosingNul) {
  EXPECT_EQ(ConvertFilter(kFilter), "GBA ROMs (*.gba)\0*.gba\0"sv);
  EXPECT_EQ(ConvertFilter("A|a|B|b|"), "A\0a\0B\0b\0"sv) << "already ends in a NUL";
  EXPECT_EQ(ConvertFilter(""), "\0"sv);
}

class CommonDialogTest : public ::testing::Test {
 protected:
  CommonDialogTest() { SetAppInstanceHandle(0x400000); }
  ~CommonDialogTest() override { SetAppInstanceHandle(0); }

  std::string Open(std::string_view init_dir = "") {
    return dialog.ShowOpen(0x1234, "Open Pokemon GBA ROM...", init_dir, kFilter, kFlags);
  }

  test::ScriptedDialogBackend backend;
  clsCommonDialog dialog{backend};
};

TEST_F(CommonDialogTest, OpenFillsTheRecordAndReturnsTheTrimmedPath) {
  backend.Accept("  /roms/fire red.gba  ", 1);
  EXPECT_EQ(Open(), "/roms/fire red.gba");
  ASSERT_EQ(backend.calls, std::vector<std::string>{"open"});
  const OpenFileNameRecord& record = backend.received[0];
  EXPECT_EQ(record.lStructSize, 76u);
  EXPECT_EQ(record.hwndOwner, 0x1234u);
  EXPECT_EQ(record.hInstance, 0x400000u);
  EXPECT_EQ(record.lpstrFilter, ConvertFilter(kFilter));
  EXPECT_EQ(record.lpstrFile, std::string(kLongestPath - 1, ' '));
  EXPECT_EQ(record.nMaxFile, kLongestPath);
  EXPECT_EQ(record.lpstrFileTitle, std::string(254, ' '));
  EXPECT_EQ(record.nMaxFileTitle, 255u);
  EXPECT_EQ(record.lpstrInitialDir, "");
  EXPECT_EQ(record.lpstrTitle, "Open Pokemon GBA ROM...");
  EXPECT_EQ(record.Flags, 0x1804u);
  EXPECT_EQ(record.nFilterIndex, 0u) << "a new object starts on the first filter";
}

TEST_F(CommonDialogTest, CancelReturnsNothingAndKeepsTheFilterIndex) {
  EXPECT_EQ(dialog.FilterIndex(), 0);
  backend.Accept("/roms/a.gba", 2);
  Open();
  backend.Cancel();
  EXPECT_EQ(Open(), "");
  EXPECT_EQ(dialog.FilterIndex(), 2);
}

TEST_F(CommonDialogTest, AnEmptyInitialFolderStartsFromTheLastResult) {
  backend.Accept("/roms/a.gba", 2);
  backend.Accept("/roms/b.gba", 1);
  backend.Accept("/roms/c.gba", 1);
  Open();
  Open();
  Open("/elsewhere");
  EXPECT_EQ(backend.received[1].lpstrInitialDir, "/roms/a.gba");
  EXPECT_EQ(backend.received[2].lpstrInitialDir, "/elsewhere");
  // The record keeps the filter the user last picked for the next dialog.
  EXPECT_EQ(backend.received[1].nFilterIndex, 2u);
}

TEST_F(CommonDialogTest, APathLongerThanTheBufferGivesNothing) {
  backend.Accept("/" + std::string(kLongestPath, 'x'));
  EXPECT_EQ(Open(), "");
  EXPECT_EQ(dialog.FilterIndex(), 0);
}

TEST_F(CommonDialogTest, SaveProposesANameOfAtMost128Characters) {
  backend.Accept("/roms/out.gpl", 3);
  EXPECT_EQ(dialog.ShowSave(0x1234, "Save", "out", "/roms", kFilter, 0x2), "/roms/out.gpl");
  EXPECT_EQ(dialog.FilterIndex(), 3);
  const OpenFileNameRecord& record = backend.received[0];
  EXPECT_EQ(record.lpstrFile.substr(0, 4), "out\0"sv);
  EXPECT_EQ(record.nMaxFile, record.lpstrFile.size());
  EXPECT_EQ(record.lpstrInitialDir, "/roms");
  EXPECT_EQ(record.lpstrDefExt, ".gpl");

  const std::string longest(128, 'n');
  backend.Accept("/roms/n.gpl");
  EXPECT_EQ(dialog.ShowSave(0, "Save", longest, "", kFilter, 0), "/roms/n.gpl");
  EXPECT_THROW(dialog.ShowSave(0, "Save", longest + "n", "", kFilter, 0), RuntimeError);
  EXPECT_EQ(backend.calls.size(), 2u) << "a name too long shows no dialog";
}

TEST_F(CommonDialogTest, SaveLeavesTheLastOpenedPathAndItsExtensionStays) {
  backend.Accept("/roms/a.gba");
  backend.Accept("/roms/out.gpl");
  backend.Cancel();
  Open();
  dialog.ShowSave(0, "Save", "", "", kFilter, 0);
  Open();
  EXPECT_EQ(backend.received[2].lpstrInitialDir, "/roms/a.gba");
  EXPECT_EQ(backend.received[2].lpstrDefExt, ".gpl");
}

}  // namespace
}  // namespace vantrel
