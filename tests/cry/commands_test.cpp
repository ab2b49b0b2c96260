#include <gtest/gtest.h>

#include "cry/commands.h"
#include "cry/cry_slot.h"
#include "cry/image_cry.h"
#include "cry/image_store.h"
#include "cry/species_list.h"
#include "image_format/releases.h"
#include "image_format/title_screen_code.h"
#include "runtime/error.h"
#include "runtime/path_text.h"
#include "support/recording_box.h"
#include "support/recording_player.h"
#include "support/scripted_dialog.h"
#include "support/temp_files.h"
#include "support/unprivileged.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using test::ImageBytes;
using test::ReadBytes;
using test::ShownBox;

const ShownBox kOpened{"ROM opened successfully!", "Vantrel"};
const ShownBox kSaved{"ROM saved successfully!", "Vantrel"};
const ShownBox kRemoved{"Cry removed successfully!", "Vantrel"};
const ShownBox kRestored{"Cry restored successfully!", "Vantrel"};

class CommandsTest : public ::testing::Test {
 protected:
  fs::path Image(std::string_view name, std::uint8_t cry) {
    return test::MakeImage(dir / name, test::kImageSize, cry);
  }
  void OpenThroughDialog(const fs::path& image) {
    dialogs.Accept(Utf8FromPath(image));
    commands.Open();
  }
  // The image with `cry` at the cry byte and every other byte as made.
  static std::vector<std::uint8_t> WithCry(std::uint8_t made, std::uint8_t cry) {
    std::vector<std::uint8_t> bytes = ImageBytes(test::kImageSize, made);
    bytes[0x791EE] = cry;
    return bytes;
  }

  test::TempDir dir;
  test::RecordingMessageBox boxes;
  test::ScriptedDialogBackend dialogs;
  test::RecordingPlayer player;
  PlainWindowState window;
  int dialogs_made = 0;
  EditingCommands commands{window,
                           [this] {
                             ++dialogs_made;
                             return std::make_unique<clsCommonDialog>(dialogs);
                           },
                           player};
};

TEST_F(CommandsTest, OpenAsksWithAFreshDialogAndShowsTheCry) {
  window.owner = 0xBEEF;
  const fs::path image = Image("fire.gba", 6);
  OpenThroughDialog(image);
  OpenThroughDialog(image);

  EXPECT_EQ(dialogs_made, 2);
  for (const OpenFileNameRecord& record : dialogs.received) {
    EXPECT_EQ(record.lpstrTitle, "Open Pokemon GBA ROM...");
    EXPECT_EQ(record.lpstrFilter, std::string("GBA ROMs (*.gba)\0*.gba\0", 23));
    EXPECT_EQ(record.Flags, 0x1804u);
    EXPECT_EQ(record.hwndOwner, 0xBEEFu);
    EXPECT_EQ(record.lpstrInitialDir, "");  // nothing carries over between Opens
  }
  EXPECT_EQ(window.rom_path, Utf8FromPath(image));
  EXPECT_EQ(window.selection, 5);
  EXPECT_TRUE(window.list_enabled && window.save_enabled && window.remove_enabled &&
              window.restore_enabled);
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{kOpened, kOpened}));
  EXPECT_EQ(ReadBytes(image), ImageBytes());
}

TEST_F(CommandsTest, OpenSelectsTheEntryOfEachValue) {
  for (auto [cry, position] :
       {std::pair{0, -1}, {1, 0}, {6, 5}, {251, 250}, {252, -1}, {255, -1}}) {
    window.selection = 42;
    OpenThroughDialog(Image("image.gba", static_cast<std::uint8_t>(cry)));
    EXPECT_EQ(window.selection, position) << cry;
    EXPECT_EQ(boxes.shown.back(), kOpened);
  }
  EXPECT_EQ(boxes.shown.size(), 6u);
}

TEST_F(CommandsTest, SaveAfterOpenWritesBackTheSameByte) {
  for (std::uint8_t cry : {0, 1, 203, 251}) {
    const fs::path image = Image("image.gba", cry);
    OpenThroughDialog(image);
    commands.Save();
    EXPECT_EQ(ReadBytes(image), ImageBytes(test::kImageSize, cry));
    EXPECT_EQ(boxes.shown.back(), kSaved);
  }
}

TEST_F(CommandsTest, SaveWritesTheSelectedSpeciesAndNothingElse) {
  const fs::path image = Image("image.gba", 6);
  OpenThroughDialog(image);
  window.selection = 250;
  commands.Save();
  EXPECT_EQ(ReadBytes(image), WithCry(6, 251));
  window.selection = -1;
  commands.Save();
  EXPECT_EQ(ReadBytes(image), WithCry(6, 0));
}

TEST_F(CommandsTest, RemoveAndRestoreWriteWithoutMovingTheList) {
  const fs::path image = Image("image.gba", 25);
  OpenThroughDialog(image);
  commands.Remove();
  EXPECT_EQ(ReadBytes(image), WithCry(25, 0));
  EXPECT_EQ(window.selection, 24);
  commands.Save();  // the list still shows the species: Save puts it back
  EXPECT_EQ(ReadBytes(image), WithCry(25, 25));
  window.selection = 150;
  commands.Restore();
  EXPECT_EQ(ReadBytes(image), WithCry(25, 6));
  EXPECT_EQ(window.selection, 150);
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{kOpened, kRemoved, kSaved, kRestored}));
}

TEST_F(CommandsTest, WritesGoToTheImageOpenedLast) {
  const fs::path first = Image("first.gba", 6);
  const fs::path second = Image("second.gba", 9);
  OpenThroughDialog(first);
  OpenThroughDialog(second);
  commands.Remove();
  EXPECT_EQ(window.rom_path, Utf8FromPath(second));
  EXPECT_EQ(ReadBytes(first), ImageBytes(test::kImageSize, 6));
  EXPECT_EQ(ReadBytes(second), WithCry(9, 0));
}

TEST_F(CommandsTest, CancellingTheDialogChangesNothing) {
  dialogs.Cancel();
  commands.Open();
  EXPECT_EQ(window.rom_path, "");
  EXPECT_FALSE(window.list_enabled || window.save_enabled);
  EXPECT_TRUE(boxes.shown.empty());

  const fs::path image = Image("image.gba", 6);
  OpenThroughDialog(image);
  window.selection = 0;
  dialogs.Cancel();
  commands.Open();
  EXPECT_EQ(window.rom_path, Utf8FromPath(image));
  EXPECT_EQ(window.selection, 0);
  EXPECT_TRUE(window.save_enabled);
  commands.Save();  // still writes the image opened before
  EXPECT_EQ(ReadBytes(image), WithCry(6, 1));
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{kOpened, kSaved}));
}

TEST_F(CommandsTest, AnUnreadableImageShowsOnlyItsFailure) {
  OpenThroughDialog(dir / "missing.gba");
  EXPECT_EQ(window.rom_path, "");
  EXPECT_FALSE(window.list_enabled);

  const fs::path image = Image("image.gba", 6);
  OpenThroughDialog(image);
  commands.OpenPath(Utf8FromPath(dir.Path()));
  EXPECT_EQ(window.rom_path, Utf8FromPath(image));
  EXPECT_EQ(window.selection, 5);
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{{"File not found", "Error: 53"},
                                                kOpened,
                                                {"Path/File access error", "Error: 75"}}));
  EXPECT_FALSE(fs::exists(dir / "missing.gba"));
}

TEST_F(CommandsTest, AFailedWriteShowsNoSuccess) {
  const fs::path image = Image("image.gba", 6);
  OpenThroughDialog(image);
  test::MakeReadOnly(image);
  const int outcome = test::RunUnprivileged([&] {
    test::RecordingMessageBox child_boxes;
    commands.Save();
    commands.Remove();
    commands.Restore();
    const ShownBox denied{"Permission denied", "Error: 70"};
    return child_boxes.shown == std::vector<ShownBox>{denied, denied, denied} ? 0 : 1;
  });
  EXPECT_EQ(outcome, 0);
  EXPECT_EQ(ReadBytes(image), ImageBytes());
}

// A store whose writes end later, as a browser's do: the files' store, with
// each write's end held until the test gives it.
class LaterImages final : public ImageStore {
 public:
  std::string Kept(const std::string& name) const override { return FileImages().Kept(name); }
  CryReading Read(const std::string& name) override { return FileImages().Read(name); }
  ImageCrySound ReadSound(const std::string& name, int species) override {
    return FileImages().ReadSound(name, species);
  }
  void Write(const std::string&, std::optional<int>, WriteDone done) override {
    pending.push_back(std::move(done));
  }
  std::vector<WriteDone> pending;
};

TEST_F(CommandsTest, AWriteThatEndsLaterIsReportedWhenItEnds) {
  LaterImages later;
  EditingCommands on_later{window, [] { return std::unique_ptr<clsCommonDialog>(); }, player,
                           later};
  on_later.OpenPath(Utf8FromPath(Image("image.gba", 6)));
  on_later.Save();
  on_later.Remove();
  EXPECT_EQ(boxes.shown, std::vector<ShownBox>{kOpened});
  later.pending[1](RuntimeError(kDiskFull));
  CryWriting written;
  written.at = CryOffset;
  written.bytes = {25};
  later.pending[0](written);
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{kOpened, {"Disk full", "Error: 61"}, kSaved}));
}

TEST_F(CommandsTest, UnicodeAndLongPathsWork) {
  const fs::path deep = dir / std::string(120, 'd');
  fs::create_directories(deep / std::string(120, 'e'));
  const fs::path image =
      Image(Utf8FromPath(fs::path(std::string(120, 'd')) / std::string(120, 'e') /
                         "Pok\xC3\xA9mon \xE7\x81\xAB.gba"),
            6);
  ASSERT_GT(Utf8FromPath(image).size(), 254u);
  OpenThroughDialog(image);
  window.selection = 0;
  commands.Save();
  EXPECT_EQ(ReadBytes(image), WithCry(6, 1));
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{kOpened, kSaved}));
}

// Each release opens with no box but the success box, and its cry byte is
// read and written where it keeps it; Restore writes its own stock cry.
// Play plays the list's species through the release's own table words, not
// the saved one, and writes nothing. A species past 251 rewrites the title
// screen's window, which a reopening reads back and any later write puts
// back as the game has it.
TEST_F(CommandsTest, EachReleaseIsWrittenWhereItKeepsItsCryByteAndPlayed) {
  const fs::path image = dir / "release.gba";
  for (const Release& release : kReleases) {
    SCOPED_TRACE(release.name);
    boxes.shown.clear();
    const auto cry_byte = static_cast<std::size_t>(release.cry_byte);
    std::vector<std::uint8_t> expected = test::ReleaseImageBytes(release, 6);
    test::PutCry(expected, release.cry_table_word, 25);
    test::PutCry(expected, release.cry_table_word, 384);
    test::WriteBytes(image, expected);
    // The same image held in memory reads, plays and writes alike.
    std::vector<std::uint8_t> held = expected;
    MemoryBytes bytes(held);
    EXPECT_EQ(ReadImageCry(bytes).value, 6);
    EXPECT_EQ(ReadImageCrySound(bytes, 25).sound.samples, test::kTestCry.samples);
    EXPECT_EQ(WriteImageCry(held, 25).at, release.cry_byte);
    OpenThroughDialog(image);
    EXPECT_EQ(window.selection, 5);
    for (const std::int16_t position : {24, 383}) {
      window.selection = position;
      commands.Play();
    }
    ASSERT_EQ(player.played.size(), 2u);
    EXPECT_EQ(player.played[1].samples, test::kTestCry.samples);
    player.played.clear();
    commands.Save();
    expected[cry_byte] = 25;
    std::vector<std::uint8_t> wide = expected;
    test::PutTitleScreenCode(wide, cry_byte, 406, TitleScreenForm::kWide);
    EXPECT_EQ(ReadBytes(image), wide);
    EXPECT_EQ(WriteImageCry(held, 384).at, release.cry_byte - 10);
    EXPECT_EQ(held, wide);
    OpenThroughDialog(image);
    EXPECT_EQ(window.selection, 383);
    window.selection = 24;
    commands.Save();
    EXPECT_EQ(ReadBytes(image), expected);
    commands.Remove();
    commands.Restore();
    expected[cry_byte] = release.name.starts_with("Leaf") ? 3 : 6;
    EXPECT_EQ(ReadBytes(image), expected);
    EXPECT_EQ(boxes.shown,
              (std::vector<ShownBox>{kOpened, kSaved, kOpened, kSaved, kRemoved, kRestored}));
  }
}

// The list shows the open image's own names, and the built-in ones again
// for an image whose names are those or cannot be read.
TEST_F(CommandsTest, TheListShowsTheOpenImagesNames) {
  std::vector<std::uint8_t> french = ImageBytes();
  std::vector<std::string> names = test::EnglishNames();
  names[6] = "DRACAUFEU";
  test::PutNames(french, 0x70000, 3, names);
  test::PutCry(french, kReleases[0].cry_table_word, 6);
  const fs::path image = dir / "french.gba";
  test::WriteBytes(image, french);
  OpenThroughDialog(image);
  ASSERT_EQ(window.species.size(), 386u);
  EXPECT_EQ(window.species[5], "Dracaufeu");
  EXPECT_EQ(window.species[24], "Pikachu");
  EXPECT_EQ(window.selection, 5);
  EXPECT_EQ(window.play_tooltip, "Play Dracaufeu's cry from " + Utf8FromPath(image));
  OpenThroughDialog(Image("english.gba", 6));
  EXPECT_EQ(window.species, std::vector<std::string>(SpeciesList().begin(), SpeciesList().end()));
  EXPECT_EQ(window.selection, 5);
}

// A window cut short is opened with nothing selected and said so; a write
// puts it whole, and the image then opens as any other.
TEST_F(CommandsTest, AHalfWrittenWindowIsOpenedToBeMended) {
  std::vector<std::uint8_t> stock = test::ReleaseImageBytes(kReleases[1], 6);
  std::vector<std::uint8_t> torn = stock;
  test::PutTitleScreenCode(torn, 0x79202, 406, TitleScreenForm::kWide);
  std::copy(stock.begin() + 0x791F8, stock.begin() + 0x79200, torn.begin() + 0x791F8);
  const fs::path image = dir / "torn.gba";
  test::WriteBytes(image, torn);
  OpenThroughDialog(image);
  EXPECT_EQ(
      boxes.shown,
      (std::vector<ShownBox>{{"In this image, the title screen's code is half written (a write was "
                              "cut short). Save ROM, Remove Cry or Restore Removed Cry writes it "
                              "whole again.",
                              "Vantrel"}}));
  EXPECT_EQ(window.selection, -1);
  EXPECT_TRUE(window.save_enabled && window.remove_enabled && window.restore_enabled);
  commands.Restore();
  EXPECT_EQ(ReadBytes(image), stock);
  OpenThroughDialog(image);
  EXPECT_EQ(window.selection, 5);
}

// The window can never write a byte that is not the cry: an image without
// the title screen's code leaves nothing open to write or play, and so does
// one whose code is gone when a write finds the cry byte again.
TEST_F(CommandsTest, AnImageWithoutACryByteLeavesNothingOpen) {
  const ShownBox none{
      "Vantrel cannot find the title screen's cry byte in this image (the title screen's code is "
      "not in the image) and will not write to it.",
      "Vantrel"};
  const fs::path image = dir / "image.gba";
  const fs::path without = test::MakeImage(dir / "short.gba", 0x791EE);
  for (const bool at_open : {true, false}) {
    boxes.shown.clear();
    std::vector<std::uint8_t> made = ImageBytes();
    test::PutCry(made, kReleases[0].cry_table_word, 6);
    test::WriteBytes(image, made);
    OpenThroughDialog(image);
    EXPECT_TRUE(window.play_enabled);
    if (at_open) {
      OpenThroughDialog(without);
    } else {
      test::WriteBytes(image, test::ImageBytes(0x791EE));
      commands.Save();
    }
    EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{kOpened, none}));
    EXPECT_FALSE(window.list_enabled || window.save_enabled || window.remove_enabled ||
                 window.restore_enabled || window.play_enabled);
    EXPECT_EQ(window.selection, -1);
    EXPECT_EQ(window.rom_path, "");
  }
  EXPECT_EQ(ReadBytes(without), test::ImageBytes(0x791EE));
  EXPECT_EQ(ReadBytes(image), test::ImageBytes(0x791EE));
  // Held in memory, the same image is not written, and forced it is not
  // grown: it ends just before the cry byte.
  std::vector<std::uint8_t> held = test::ImageBytes(0x791EE);
  EXPECT_FALSE(WriteImageCry(held, 25).at);
  try {
    WriteImageCry(held, 25, true);
    ADD_FAILURE() << "a forced write grew the image";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), kWritePastEndOfFile);
  }
  EXPECT_EQ(held, test::ImageBytes(0x791EE));
}

// Play is offered for a species selected in an image whose cry table was
// found, and names both; the list's changes reach it through the front end.
// What cannot be played is said in a box, and nothing else changes.
TEST_F(CommandsTest, PlayFollowsTheImageAndTheSelectionAndSaysWhatCannotBePlayed) {
  std::vector<std::uint8_t> bytes = ImageBytes();
  test::PutCry(bytes, kReleases[0].cry_table_word, 25);
  const fs::path image = dir / "fire.gba";
  test::WriteBytes(image, bytes);
  OpenThroughDialog(image);
  EXPECT_TRUE(window.play_enabled);
  EXPECT_EQ(window.play_tooltip, "Play Charizard's cry from " + Utf8FromPath(image));
  window.selection = 202;  // the one name with a trailing blank in the list
  commands.SelectionChanged();
  EXPECT_EQ(window.play_tooltip, "Play Girafarig's cry from " + Utf8FromPath(image));
  window.selection = -1;
  commands.SelectionChanged();
  EXPECT_FALSE(window.play_enabled);
  EXPECT_EQ(window.play_tooltip, "");

  window.selection = 24;
  player.refusal = "no sound server answered (PulseAudio: Connection refused)";
  commands.Play();
  player.refusal.reset();
  window.selection = 25;  // Raichu has no entry of its own: the filler
  commands.Play();
  fs::remove(image);
  commands.Play();
  ASSERT_EQ(boxes.shown.size(), 4u);
  EXPECT_EQ(boxes.shown[1], (ShownBox{"Vantrel cannot play sound: no sound server answered "
                                      "(PulseAudio: Connection refused).",
                                      "Vantrel"}));
  EXPECT_EQ(boxes.shown[2].text.rfind("Vantrel cannot play Raichu's cry: ", 0), 0u);
  EXPECT_EQ(boxes.shown[3], (ShownBox{"File not found", "Error: 53"}));
  EXPECT_TRUE(player.played.empty());

  // No table: none of the release's words, one pointing past the end, or
  // the cry call's code twice, neither where the release keeps it.
  std::vector<std::uint8_t> twice = ImageBytes();
  test::PutCry(twice, 0x30000, 25);
  test::PutCry(twice, 0x30100, 25);
  test::PutWord(bytes,
                static_cast<std::size_t>(CryTableWordsFrom(kReleases[0].cry_table_word).block1),
                kCartridgeAddress + static_cast<std::uint32_t>(bytes.size()));
  for (const std::vector<std::uint8_t>& without : {ImageBytes(), bytes, twice}) {
    test::WriteBytes(image, without);
    OpenThroughDialog(image);
    EXPECT_TRUE(window.save_enabled);
    EXPECT_FALSE(window.play_enabled);
  }
}

}  // namespace
}  // namespace vantrel
