#include <gtest/gtest.h>

#include "cry/commands.h"
#include "cry/cry_slot.h"
#include "runtime/path_text.h"
#include "support/recording_box.h"
#include "support/scripted_dialog.h"
#include "support/temp_files.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using test::ShownBox;

class EditingCommandsTest : public ::testing::Test {
 protected:
  EditingCommandsTest() { window.owner = 0x77; }

  void ExpectCry(std::uint8_t value) {
    std::vector<std::uint8_t> expected = original;
    expected[CryOffset] = value;
    EXPECT_EQ(test::ReadBytes(image), expected);
  }

  test::TempDir dir;
  fs::path image = test::MakeImage(dir / "Feuer \xE7\x81\xAB.gba");
  std::vector<std::uint8_t> original = test::ReadBytes(image);
  test::ScriptedDialogBackend dialogs;
  test::RecordingMessageBox boxes;
  PlainWindowState window;
  int dialogs_made = 0;
  EditingCommands commands{window, [this] {
                             ++dialogs_made;
                             return std::make_unique<clsCommonDialog>(dialogs);
                           }};
};

TEST_F(EditingCommandsTest, OpenShowsTheCryOfTheChosenImageAndEnablesEditing) {
  dialogs.Accept(Utf8FromPath(image));
  commands.Open();
  const OpenFileNameRecord& asked = dialogs.received.at(0);
  EXPECT_EQ(asked.lpstrTitle, "Open Pokemon GBA ROM...");
  EXPECT_EQ(asked.lpstrFilter, ConvertFilter("GBA ROMs (*.gba)|*.gba"));
  EXPECT_EQ(asked.Flags, 0x1804u);
  EXPECT_EQ(asked.hwndOwner, 0x77u);
  EXPECT_EQ(window.rom_path, Utf8FromPath(image));
  EXPECT_EQ(window.selection, 5) << "Charizard";
  EXPECT_TRUE(window.list_enabled && window.save_enabled && window.remove_enabled &&
              window.restore_enabled);
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{{"ROM opened successfully!", "Vantrel"}}));
  ExpectCry(6);
}

TEST_F(EditingCommandsTest, EveryOpenAsksThroughAFreshDialog) {
  dialogs.Accept(Utf8FromPath(image), 2);
  dialogs.Accept(Utf8FromPath(image));
  commands.Open();
  commands.Open();
  EXPECT_EQ(dialogs_made, 2);
  EXPECT_EQ(dialogs.received[1].lpstrInitialDir, "") << "nothing carries over";
  EXPECT_EQ(dialogs.received[1].nFilterIndex, 0u);
}

TEST_F(EditingCommandsTest, CancelChangesNothing) {
  dialogs.Cancel();
  commands.Open();
  EXPECT_EQ(window.rom_path, "");
  EXPECT_FALSE(window.save_enabled);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(EditingCommandsTest, ValuesWithoutAnEntrySelectNothing) {
  for (std::uint8_t value : {0, 252, 255}) {
    test::MakeImage(image, test::kImageSize, value);
    window.selection = 3;
    commands.OpenPath(Utf8FromPath(image));
    EXPECT_EQ(window.selection, -1) << int{value};
  }
  test::MakeImage(image, test::kImageSize, 251);
  commands.OpenPath(Utf8FromPath(image));
  EXPECT_EQ(window.selection, 250) << "Celebi";
}

TEST_F(EditingCommandsTest, AnImageThatCannotBeReadLeavesTheWindowAsItWas) {
  commands.OpenPath(Utf8FromPath(image));
  boxes.shown.clear();
  commands.OpenPath(Utf8FromPath(dir / "missing.gba"));
  EXPECT_EQ(window.rom_path, Utf8FromPath(image));
  EXPECT_EQ(window.selection, 5);
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{{"File not found", "Error: 53"}}));
}

TEST_F(EditingCommandsTest, SaveRemoveAndRestoreWriteTheCryByteAndReport) {
  commands.OpenPath(Utf8FromPath(image));
  window.selection = 24;
  commands.Save();
  ExpectCry(25);
  window.selection = -1;
  commands.Save();
  ExpectCry(0);
  commands.Restore();
  ExpectCry(6);
  commands.Remove();
  ExpectCry(0);
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{{"ROM opened successfully!", "Vantrel"},
                                                {"ROM saved successfully!", "Vantrel"},
                                                {"ROM saved successfully!", "Vantrel"},
                                                {"Cry restored successfully!", "Vantrel"},
                                                {"Cry removed successfully!", "Vantrel"}}));
}

TEST_F(EditingCommandsTest, AFailedWriteShowsOnlyItsFailure) {
  commands.OpenPath(Utf8FromPath(image));
  boxes.shown.clear();
  fs::remove(image);
  commands.Save();
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{{"File not found", "Error: 53"}}));
  EXPECT_FALSE(fs::exists(image));
}

}  // namespace
}  // namespace vantrel
