#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <tuple>

#include "cli/cli.h"
#include "image_format/releases.h"
#include "image_format/title_screen_code.h"
#include "runtime/hex.h"
#include "runtime/path_text.h"
#include "support/process.h"
#include "support/temp_files.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#endif

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using test::ImageBytes;
using test::ProgramResult;
using test::ReadBytes;

ProgramResult Cli(std::vector<std::string> arguments, bool unprivileged = false) {
  arguments.insert(arguments.begin(), VANTREL_CLI_PATH);
  return test::RunProgram(arguments, unprivileged);
}

std::string Text(const fs::path& path) {
  return Utf8FromPath(path);
}

class CliTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  fs::path image = test::MakeImage(dir / "fire red.gba");
  std::vector<std::uint8_t> original = ReadBytes(image);

  void ExpectCry(std::uint8_t value) {
    std::vector<std::uint8_t> expected = original;
    expected[0x791EE] = value;
    EXPECT_EQ(ReadBytes(image), expected);
  }
};

TEST_F(CliTest, ShowNamesTheSpeciesOrTheLackOfOne) {
  EXPECT_EQ(Cli({"show", Text(image)}).out, "6 Charizard\n");
  for (auto [value, line] : {std::pair{0, "0 (no cry)\n"},
                             {203, "203 Girafarig \n"},
                             {251, "251 Celebi\n"},
                             {252, "252 (no species)\n"},
                             {255, "255 (no species)\n"}}) {
    test::MakeImage(image, test::kImageSize, static_cast<std::uint8_t>(value));
    const ProgramResult result = Cli({"show", Text(image)});
    EXPECT_EQ(result.out, line);
    EXPECT_EQ(result.exit_code, 0);
  }
}

TEST_F(CliTest, ShowOfSeveralImagesNamesEachAndReportsEachFailure) {
  const fs::path other = test::MakeImage(dir / "other.gba", test::kImageSize, 1);
  const fs::path missing = dir / "missing.gba";
  const ProgramResult result = Cli({"show", Text(image), Text(missing), Text(other)});
  EXPECT_EQ(result.out, Text(image) + ": 6 Charizard\n" + Text(other) + ": 1 Bulbasaur\n");
  EXPECT_EQ(result.err, Text(missing) + ": Error: 53: File not found\n");
  EXPECT_EQ(result.exit_code, 1);
}

TEST_F(CliTest, SetTakesANameInAnyCaseOrANumber) {
  for (auto [species, value] : {std::pair{"girafarig", 203},
                                {"  CELEBI ", 251},
                                {"mr.mime", 122},
                                {"porygon 2", 233},
                                {"0", 0},
                                {"251", 251},
                                {"6", 6}}) {
    const ProgramResult result = Cli({"set", Text(image), species});
    EXPECT_EQ(result.exit_code, 0) << species << result.err;
    EXPECT_EQ(result.out, "ROM saved successfully!\n");
    ExpectCry(static_cast<std::uint8_t>(value));
  }
}

TEST_F(CliTest, RemoveAndRestoreWriteZeroAndSix) {
  ProgramResult result = Cli({"remove", Text(image)});
  EXPECT_EQ(result.out, "Cry removed successfully!\n");
  ExpectCry(0);
  result = Cli({"restore", Text(image)});
  EXPECT_EQ(result.out, "Cry restored successfully!\n");
  EXPECT_EQ(result.exit_code, 0);
  ExpectCry(6);
}

TEST_F(CliTest, SpeciesListsEveryEntryNumbered) {
  const ProgramResult result = Cli({"species"});
  std::istringstream lines(result.out);
  std::vector<std::string> all;
  for (std::string line; std::getline(lines, line);) all.push_back(line);
  ASSERT_EQ(all.size(), 386u);
  EXPECT_EQ(all[0], "1\tBulbasaur");
  EXPECT_EQ(all[202], "203\tGirafarig ");
  EXPECT_EQ(all[250], "251\tCelebi");
  EXPECT_EQ(all[385], "386\tDeoxys");
}

TEST_F(CliTest, UsageErrorsExitTwoAndTouchNothing) {
  const std::vector<std::vector<std::string>> misuses = {
      {},
      {"frobnicate"},
      {"show"},
      {"set", Text(image)},
      {"set", Text(image), "Missingno"},
      {"set", Text(image), "387"},
      {"set", Text(image), ""},
      {"remove"},
      {"restore", Text(image), Text(image)},
      {"species", "one", "two"},
      {"info"},
      {"--bogus", "show", Text(image)},
      {"cry", Text(image), "Mew"},
      {"cry", Text(image), "0", "-o", "-"},
      {"show", Text(image), "-o", "x.wav"},
  };
  // What is wrong in one line, then where to read more: no usage to scroll
  // the mistake away.
  for (const auto& arguments : misuses) {
    const ProgramResult result = Cli(arguments);
    EXPECT_EQ(result.exit_code, 2) << testing::PrintToString(arguments);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("vantrel-cli: ", 0), 0u) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 2) << result.err;
    EXPECT_TRUE(result.err.ends_with("\nTry 'vantrel-cli --help'.\n")) << result.err;
  }
  EXPECT_EQ(Cli({"set", Text(image), "pikachoo"}).err,
            "vantrel-cli: unknown species pikachoo; did you mean Pikachu?\n"
            "Try 'vantrel-cli --help'.\n");
  ExpectCry(6);
}

TEST_F(CliTest, HelpAndVersion) {
  ProgramResult result = Cli({"--help"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out.rfind("Usage: vantrel-cli", 0), 0u);
  result = Cli({"--version"});
  EXPECT_EQ(result.out, "vantrel-cli 1.00\n");
}

TEST_F(CliTest, FileFailuresExitOneWithTheirLine) {
  const fs::path missing = dir / "missing.gba";
  ProgramResult result = Cli({"set", Text(missing), "6"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "Error: 53: File not found\n");
  EXPECT_FALSE(fs::exists(missing));

  const fs::path short_image = test::MakeImage(dir / "short.gba", 0x791EE);
  result = Cli({"--force", "remove", Text(short_image)});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "Error: 1001: Write past end of file\n");
  EXPECT_EQ(ReadBytes(short_image), ImageBytes(0x791EE));
}

// The image made by MakeImage with `bytes` put at `offset`.
std::vector<std::uint8_t> Patched(const fs::path& path, std::size_t offset,
                                  std::string_view bytes) {
  std::vector<std::uint8_t> content = ImageBytes();
  std::copy(bytes.begin(), bytes.end(), content.begin() + static_cast<std::ptrdiff_t>(offset));
  test::WriteBytes(path, content);
  return content;
}

TEST_F(CliTest, InfoPrintsTheHeaderItsChecksAndTheCry) {
  const ProgramResult result = Cli({"info", Text(image)});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            "size: 524288 bytes\n"
            "title: VANTREL TEST\n"
            "game code: BPRE\n"
            "maker code: 01\n"
            "software version: 0\n"
            "fixed byte 0xB2: 0x96 (as expected)\n"
            "header complement 0xBD: 0x9B (matches)\n"
            "names: built in (the image's names table's address, 0xA0816243, lies outside the "
            "image)\n"
            "release: FireRed 1.0 (BPRE, version 0): cry byte at 0x791EE, stock cry 6 Charizard\n"
            "title screen's code: stock (one byte)\n"
            "cry: 6 Charizard\n"
            "cry table: none, the cry call's code is not in the image\n");
  EXPECT_EQ(ReadBytes(image), original);
}

TEST_F(CliTest, InfoShowsWhatIsWrongWithAnotherImage) {
  // Another game's code, an unprintable title, a later release, a wrong
  // complement and no fixed byte.
  std::vector<std::uint8_t> content =
      Patched(image, 0xA0, std::string_view("AB\x01\\\0\0\0\0\0\0\0\0AXVE01\0", 19));
  content[0xBC] = 1;
  test::WriteBytes(image, content);
  const ProgramResult result = Cli({"info", Text(image)});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out,
            "size: 524288 bytes\n"
            "title: AB\\x01\\x5C\n"
            "game code: AXVE\n"
            "maker code: 01\n"
            "software version: 1\n"
            "fixed byte 0xB2: 0x00 (expected 0x96)\n"
            "header complement 0xBD: 0x9B (expected 0xC1)\n"
            "names: built in (the image's names table's address, 0xA0816243, lies outside the "
            "image)\n"
            "release: unknown release (AXVE, version 1): cry byte at 0x791EE, found by the title "
            "screen's code, stock cry 6 Charizard\n"
            "title screen's code: stock (one byte)\n"
            "cry: 6 Charizard\n"
            "cry table: none, the cry call's code is not in the image\n");
  EXPECT_EQ(ReadBytes(image), content);
}

TEST_F(CliTest, InfoOfShortFilesSaysWhatIsMissing) {
  const fs::path tiny = test::MakeImage(dir / "tiny.gba", 0xBD);
  const fs::path missing = dir / "missing.gba";
  const ProgramResult result = Cli({"info", Text(tiny), Text(missing)});
  EXPECT_EQ(result.exit_code, 1);
  const std::string t = Text(tiny) + ": ";
  EXPECT_EQ(result.out, t + "size: 189 bytes\n" + t + "header: none (the file ends before 0xBE)\n" +
                            t +
                            "names: built in (the image ends before its second header's word at "
                            "0x144)\n" +
                            t + "release: no header: no cry byte, the title screen's code is not " +
                            "in the image\n" + t + "title screen's code: none\n" + t +
                            "cry: none (no cry byte)\n" + t +
                            "cry table: none, the cry call's code is not in the image\n");
  EXPECT_EQ(result.err, Text(missing) + ": Error: 53: File not found\n");
  EXPECT_EQ(ReadBytes(tiny), ImageBytes(0xBD));
  EXPECT_FALSE(fs::exists(missing));
}

// An image of `release`'s header with the title screen's code at each of
// `cry_bytes` and nowhere else, naming Pikachu (25) in the stock form or
// Rayquaza (406, national 384) in the wide one, and the cry call's code
// with its first word at each of `first_words`, that species' cry in its
// table.
std::vector<std::uint8_t> CodeAt(const Release& release, std::vector<std::size_t> cry_bytes,
                                 std::vector<std::int64_t> first_words = {},
                                 std::size_t size = test::kImageSize,
                                 TitleScreenForm form = TitleScreenForm::kStock) {
  const bool wide = form == TitleScreenForm::kWide;
  std::vector<std::uint8_t> bytes = test::ReleaseImageBytes(release, 25);
  std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(release.cry_byte) - 12, 24, 0);
  bytes.resize(size, 0xEE);
  for (std::size_t at : cry_bytes) test::PutTitleScreenCode(bytes, at, wide ? 406 : 25, form);
  for (std::int64_t at : first_words) test::PutCry(bytes, at, wide ? 384 : 25);
  return bytes;
}

Release Unknown(std::string_view game_code) {
  Release release = kReleases[0];
  release.game_code = game_code;
  return release;
}

// Each image's cry byte is found by the title screen's code, in either form:
// show reads it, and set, remove and restore write there and nowhere else,
// the one byte or the whole window as the species needs, and --force too;
// an image without the code, with it twice, or with it only partly in the
// 32 MiB a cartridge maps, is refused, and --force writes 0x791EE. Its cry
// table is found by the cry call's code, the same way, and cry plays the
// title screen's species through it.
TEST_F(CliTest, TheCryByteIsWhereTheTitleScreensCodeIs) {
  struct Located {
    std::vector<std::uint8_t> made;
    std::optional<std::size_t> cry_byte;  // nothing: none found
    std::uint8_t stock;
    std::string release;  // info's line after "release: "
    std::string note;     // set's line on stderr, after the image's name
    std::string table;    // info's line after "cry table: "
    std::string shown = "25 Pikachu";
  };
  const std::string kCode = "the title screen's code";
  const std::string kMoved = ", found by " + kCode;
  const std::string kTable = "at 0x60000 and 0x64000 (words at ";
  const std::string kNoCall = "none, the cry call's code is not in the image";
  const std::string kNotIn = "no cry byte, " + kCode + " is not in the image";
  const auto known = [&](std::size_t index, const std::string& release, const std::string& words) {
    const bool leaf = release.starts_with("Leaf");
    return Located{CodeAt(kReleases[index], {static_cast<std::size_t>(kReleases[index].cry_byte)},
                          {kReleases[index].cry_table_word}),
                   static_cast<std::size_t>(kReleases[index].cry_byte),
                   static_cast<std::uint8_t>(leaf ? 3 : 6),
                   release + ", stock cry " + (leaf ? "3 Venusaur" : "6 Charizard"),
                   "",
                   kTable + words + "), known release"};
  };
  // Where a code ends at 32 MiB, and where it ends a byte past it.
  constexpr std::size_t kEnd = 0x2000000;
  constexpr std::size_t kPast = 0x2100000;
  const TitleScreenForm wide = TitleScreenForm::kWide;
  const std::vector<Located> images = {
      known(0, "FireRed 1.0 (BPRE, version 0): cry byte at 0x791EE", "0x72114 and 0x72138"),
      known(1, "FireRed 1.1 (BPRE, version 1): cry byte at 0x79202", "0x72128 and 0x7214C"),
      known(2, "LeafGreen 1.0 (BPGE, version 0): cry byte at 0x791EE", "0x72114 and 0x72138"),
      known(3, "LeafGreen 1.1 (BPGE, version 1): cry byte at 0x79202", "0x72128 and 0x7214C"),
      known(4, "FireRed (French) (BPRF, version 0): cry byte at 0x79212", "0x72138 and 0x7215C"),
      known(5, "LeafGreen (French) (BPGF, version 0): cry byte at 0x79212", "0x72138 and 0x7215C"),
      known(6, "FireRed (German) (BPRD, version 0): cry byte at 0x79152", "0x72078 and 0x7209C"),
      known(7, "LeafGreen (German) (BPGD, version 0): cry byte at 0x79152", "0x72078 and 0x7209C"),
      known(8, "FireRed (Spanish) (BPRS, version 0): cry byte at 0x79226", "0x7214C and 0x72170"),
      known(9, "LeafGreen (Spanish) (BPGS, version 0): cry byte at 0x79226", "0x7214C and 0x72170"),
      known(10, "FireRed (Italian) (BPRI, version 0): cry byte at 0x7913E", "0x72064 and 0x72088"),
      known(11, "LeafGreen (Italian) (BPGI, version 0): cry byte at 0x7913E",
            "0x72064 and 0x72088"),
      // The cry call's code twice, neither where the release keeps it.
      {CodeAt(kReleases[1], {0x40010}, {0x30000, 0x30100}), 0x40010, 6,
       "FireRed 1.1 (BPRE, version 1): cry byte at 0x40010" + kMoved + ", stock cry 6 Charizard",
       ": cry byte at 0x40010" + kMoved,
       "none, the cry call's code is in the image more than once"},
      // Both codes moved, the title screen's in either form.
      {CodeAt(kReleases[6], {0x40010}, {0x30000}), 0x40010, 6,
       "FireRed (German) (BPRD, version 0): cry byte at 0x40010" + kMoved +
           ", stock cry 6 Charizard",
       ": cry byte at 0x40010" + kMoved,
       kTable + "0x30000 and 0x30024), found by the cry call's code"},
      {CodeAt(kReleases[0], {0x40010}, {0x30000}, test::kImageSize, wide), 0x40010, 6,
       "FireRed 1.0 (BPRE, version 0): cry byte at 0x40010" + kMoved + ", stock cry 6 Charizard",
       ": cry byte at 0x40010" + kMoved,
       kTable + "0x30000 and 0x30024), found by the cry call's code", "384 Rayquaza"},
      // Each across two of the search's blocks.
      {CodeAt(Unknown("BPGX"), {0x100004}, {0x1FFFFC}, 0x280000), 0x100004, 3,
       "unknown release (BPGX, version 0): cry byte at 0x100004" + kMoved +
           ", stock cry 3 Venusaur",
       ": cry byte at 0x100004" + kMoved,
       kTable + "0x1FFFFC and 0x200020), found by the cry call's code"},
      {CodeAt(Unknown("BPRX"), {0x791EE, 0x40010}), std::nullopt, 6,
       "unknown release (BPRX, version 0): no cry byte, " + kCode +
           " is in the image more than once",
       " (" + kCode + " is in the image more than once)", kNoCall},
      {CodeAt(Unknown("BPRX"), {0x791EE, 0x40010}, {}, test::kImageSize, wide), std::nullopt, 6,
       "unknown release (BPRX, version 0): no cry byte, " + kCode +
           " is in the image more than once",
       " (" + kCode + " is in the image more than once)", kNoCall},
      {CodeAt(kReleases[0], {}), std::nullopt, 6, "FireRed 1.0 (BPRE, version 0): " + kNotIn,
       " (" + kCode + " is not in the image)", kNoCall},
      // Each code ending at 32 MiB, and a byte past it, which no game reads.
      {CodeAt(Unknown("BPRX"), {kEnd - 12}, {}, kPast), kEnd - 12, 6,
       "unknown release (BPRX, version 0): cry byte at 0x1FFFFF4" + kMoved +
           ", stock cry 6 Charizard",
       ": cry byte at 0x1FFFFF4" + kMoved, kNoCall},
      {CodeAt(Unknown("BPRX"), {kEnd - 12}, {}, kPast, wide), kEnd - 12, 6,
       "unknown release (BPRX, version 0): cry byte at 0x1FFFFF4" + kMoved +
           ", stock cry 6 Charizard",
       ": cry byte at 0x1FFFFF4" + kMoved, kNoCall, "384 Rayquaza"},
      {CodeAt(Unknown("BPRX"), {kEnd - 11}, {}, kPast), std::nullopt, 6,
       "unknown release (BPRX, version 0): " + kNotIn, " (" + kCode + " is not in the image)",
       kNoCall},
      {CodeAt(Unknown("BPRX"), {kEnd - 11}, {}, kPast, wide), std::nullopt, 6,
       "unknown release (BPRX, version 0): " + kNotIn, " (" + kCode + " is not in the image)",
       kNoCall},
      {CodeAt(Unknown("BPRX"), {0x40010}, {kEnd - 40}, kPast), 0x40010, 6,
       "unknown release (BPRX, version 0): cry byte at 0x40010" + kMoved +
           ", stock cry 6 Charizard",
       ": cry byte at 0x40010" + kMoved,
       kTable + "0x1FFFFD8 and 0x1FFFFFC), found by the cry call's code"},
      {CodeAt(Unknown("BPRX"), {0x40010}, {kEnd - 39}, kPast), 0x40010, 6,
       "unknown release (BPRX, version 0): cry byte at 0x40010" + kMoved +
           ", stock cry 6 Charizard",
       ": cry byte at 0x40010" + kMoved, kNoCall},
  };
  const std::string name = Text(image);
  const std::string wav = Text(dir / "cry.wav");
  for (const Located& located : images) {
    SCOPED_TRACE(located.release + ", " + located.table);
    test::WriteBytes(image, located.made);
    const auto with = [&](std::size_t at, int value, TitleScreenForm form) {
      std::vector<std::uint8_t> bytes = located.made;
      test::PutTitleScreenCode(bytes, at, value, form);
      return bytes;
    };
    const std::string info = Cli({"info", name}).out;
    EXPECT_NE(info.find("\nrelease: " + located.release + "\n"), std::string::npos) << info;
    EXPECT_TRUE(info.ends_with("\ncry table: " + located.table + "\n")) << info;
    const bool heard = located.table.starts_with("at ");
    EXPECT_EQ(Cli({"cry", name, "-o", wav}).out,
              heard ? wav + ": " + located.shown.substr(located.shown.find(' ') + 1) +
                          "'s cry, 0.00 s at 10512 Hz\n"
                    : "");
    const ProgramResult shown = Cli({"show", name});
    const ProgramResult set = Cli({"set", name, "Mew"});
    if (!located.cry_byte) {
      EXPECT_EQ(shown.err, "vantrel-cli: " + name + ": no cry byte" + located.note + "\n");
      EXPECT_EQ(set.err, "vantrel-cli: " + name + ": no cry byte" + located.note +
                             "; nothing written (--force writes at 0x791EE)\n");
      EXPECT_EQ(Cli({"--force", "set", name, "Rayquaza"}).err,
                "vantrel-cli: " + name + ": no cry byte" + located.note +
                    "; nothing written (a species above 251 needs the title screen's code "
                    "rewritten, and --force writes only the cry byte)\n");
      EXPECT_EQ(shown.exit_code + set.exit_code + Cli({"restore", name}).exit_code, 3);
      EXPECT_EQ(ReadBytes(image), located.made);
      Cli({"set", "--force", name, "Mew"});
      std::vector<std::uint8_t> forced = located.made;
      forced[0x791EE] = 151;
      EXPECT_EQ(ReadBytes(image), forced);
      continue;
    }
    EXPECT_EQ(shown.out, located.shown + "\n");
    const std::size_t at = *located.cry_byte;
    const bool was_wide = located.shown.starts_with("384");
    const std::string note = "vantrel-cli: note: " + name;
    const std::string moved = located.note.empty() ? "" : note + located.note + "\n";
    const std::string window =
        note + ": the title screen's code at " + HexNumber(at - 10) + "-" + HexNumber(at + 3);
    EXPECT_EQ(set.exit_code, 0);
    EXPECT_EQ(set.err, moved + (was_wide ? window + " is back as the game has it, the species in "
                                                    "the cry byte\n"
                                         : ""));
    EXPECT_EQ(ReadBytes(image), with(at, 151, TitleScreenForm::kStock));
    // Past 251 the window is rewritten, and back: only the window changes,
    // and Restore gives back the stock code byte for byte.
    struct Step {
      std::vector<std::string> command;
      int value;
      TitleScreenForm form;
      std::string rewritten;
    };
    for (const Step& step :
         std::vector<Step>{{{"set", name, "rayquaza"},
                            406,
                            wide,
                            " now loads the species (a species above 251 needs it)"},
                           {{"set", name, "treecko"},
                            277,
                            wide,
                            " now loads the species (a species above 251 needs it)"},
                           {{"set", name, "25"},
                            25,
                            TitleScreenForm::kStock,
                            " is back as the game has it, the species in the cry byte"},
                           {{"set", name, "384"},
                            406,
                            wide,
                            " now loads the species (a species above 251 needs it)"},
                           {{"remove", name},
                            0,
                            TitleScreenForm::kStock,
                            " is back as the game has it, the species in the cry byte"},
                           {{"restore", name}, located.stock, TitleScreenForm::kStock, ""},
                           {{"set", "--force", name, "Mew"}, 151, TitleScreenForm::kStock, ""}}) {
      SCOPED_TRACE(step.command[0] + " " + step.command.back());
      const ProgramResult written = Cli(step.command);
      EXPECT_EQ(written.exit_code, 0);
      EXPECT_EQ(written.err,
                moved + (step.rewritten.empty() ? "" : window + step.rewritten + "\n"));
      EXPECT_EQ(ReadBytes(image), with(at, step.value, step.form));
    }
  }
}

// A window cut short (the 1.1 window crosses a 512-byte sector at 0x79200:
// a torn write keeps its first 8 bytes of one form and its last 6 of the
// other) is named as such, and any write puts one form whole.
TEST_F(CliTest, AHalfWrittenWindowIsNamedAndAnyWriteMendsIt) {
  const std::vector<std::uint8_t> stock = test::ReleaseImageBytes(kReleases[1], 6);
  std::vector<std::uint8_t> wide = stock;
  test::PutTitleScreenCode(wide, 0x79202, 406, TitleScreenForm::kWide);
  const std::string name = Text(image);
  const std::string half = "the title screen's code is half written (a write was cut short)";
  using Bytes = const std::vector<std::uint8_t>*;
  for (const auto& [first, rest] : {std::pair<Bytes, Bytes>{&wide, &stock}, {&stock, &wide}}) {
    std::vector<std::uint8_t> torn = *rest;
    std::copy(first->begin() + 0x791F8, first->begin() + 0x79200, torn.begin() + 0x791F8);
    test::WriteBytes(image, torn);
    const ProgramResult shown = Cli({"show", name});
    EXPECT_EQ(shown.exit_code, 1);
    EXPECT_EQ(shown.err,
              "vantrel-cli: " + name + ": " + half + "; set, remove or restore writes it whole\n");
    const ProgramResult info = Cli({"info", name});
    EXPECT_EQ(info.exit_code, 1);
    EXPECT_EQ(info.err, shown.err);
    EXPECT_NE(info.out.find("\nrelease: FireRed 1.1 (BPRE, version 1): no cry byte, " + half +
                            "\ntitle screen's code: half written (a write was cut short)\n"),
              std::string::npos)
        << info.out;
    for (const auto& [command, mended] :
         {std::pair<std::vector<std::string>, Bytes>{{"restore", name}, &stock},
          {std::vector<std::string>{"set", name, "Rayquaza"}, &wide}}) {
      test::WriteBytes(image, torn);
      const ProgramResult written = Cli(command);
      EXPECT_EQ(written.exit_code, 0);
      EXPECT_EQ(written.err, "vantrel-cli: note: " + name +
                                 ": the title screen's code at 0x791F8-0x79205 is written whole "
                                 "again\n");
      EXPECT_EQ(ReadBytes(image), *mended);
    }
  }
}

// The species under the names the image gives them: a French-like image's
// own (made-up but for the few the game's facts give), an English one's
// spelt otherwise but shown as built in, and a table that cannot be used,
// which leaves the built-in list and says why.
TEST_F(CliTest, TheImagesOwnNamesAreShownAndTaken) {
  const std::string name = Text(image);
  const auto listed = [&](const std::vector<std::string>& arguments) {
    std::vector<std::string> lines;
    std::istringstream out(Cli(arguments).out);
    for (std::string line; std::getline(out, line);) lines.push_back(line);
    return lines;
  };
  const std::vector<std::string> built_in = listed({"species"});
  std::vector<std::string> english = test::EnglishNames();
  english[122] = "MR. MIME";
  english[233] = "PORYGON2";
  std::vector<std::string> french = test::EnglishNames();
  french[4] = "SALAMÈCHE";
  french[6] = "DRACAUFEU";
  french[122] = "M. MIME";
  french[406] = "RAYQUAGON";
  french[5] = "CHARIZARD";  // another species' English name
  constexpr std::size_t kTable = 0x70000;
  for (const auto& [names, language] : {std::pair{&english, 2u}, {&french, 3u}}) {
    std::vector<std::uint8_t> made = ImageBytes();
    test::PutNames(made, kTable, language, *names);
    test::WriteBytes(image, made);
    const std::vector<std::string> shown = listed({"species", name});
    ASSERT_EQ(shown.size(), 386u);
    if (language == 2) {
      EXPECT_EQ(shown, built_in);
      EXPECT_NE(Cli({"info", name})
                    .out.find("\nnames: the image's own, English (language 2), from 0x70000\n"),
                std::string::npos);
      continue;
    }
    EXPECT_EQ(shown[3], "4\tSalamèche");
    EXPECT_EQ(shown[5], "6\tDracaufeu");
    EXPECT_EQ(shown[24], "25\tPikachu");
    EXPECT_EQ(shown[121], "122\tM. Mime");
    EXPECT_EQ(shown[383], "384\tRayquagon");
    EXPECT_EQ(Cli({"show", name}).out, "6 Dracaufeu\n");
    const std::string info = Cli({"info", name}).out;
    EXPECT_NE(info.find("\nnames: the image's own, French (language 3), from 0x70000\n"),
              std::string::npos);
    EXPECT_NE(info.find("stock cry 6 Dracaufeu\n"), std::string::npos) << info;
    for (const std::string typed : {"salameche", "Salamèche", " SALAMÈCHE ", "charmander"}) {
      EXPECT_EQ(Cli({"set", name, typed}).exit_code, 0) << typed;
      EXPECT_EQ(Cli({"show", name}).out, "4 Salamèche\n") << typed;
    }
    EXPECT_EQ(Cli({"set", name, "rayquagon"}).exit_code, 0);
    EXPECT_EQ(Cli({"show", name}).out, "384 Rayquagon\n");
    ProgramResult refused = Cli({"set", name, "dracofeu"});
    EXPECT_EQ(refused.exit_code, 2);
    EXPECT_EQ(refused.err,
              "vantrel-cli: unknown species dracofeu; did you mean Dracaufeu?\n"
              "Try 'vantrel-cli --help'.\n");
    refused = Cli({"set", name, "Charizard"});
    EXPECT_EQ(refused.exit_code, 2);
    EXPECT_EQ(refused.err,
              "vantrel-cli: Charizard names more than one species: 5 Charizard and 6 Dracaufeu; "
              "give its number\nTry 'vantrel-cli --help'.\n");
    EXPECT_EQ(Cli({"cry", name, "Charizard", "-o", Text(dir / "c.wav")}).exit_code, 2);
  }

  // A table that cannot be used: the built-in list, and why.
  struct Unusable {
    std::size_t at;
    std::size_t size = test::kImageSize;
    std::function<void(std::vector<std::uint8_t>&)> spoil;
    std::string why;
  };
  const std::vector<Unusable> unusable = {
      {test::kImageSize,
       test::kImageSize,
       {},
       "the image's names table's address, 0x8080000, lies outside the image"},
      {kTable,
       kTable + 11 * 412 - 1,
       {},
       "the image's names table at 0x70000 runs past the end of the image"},
      {kTable, test::kImageSize,
       [](auto& bytes) { std::fill_n(bytes.begin() + kTable + 11 * 7, 11, 0xBB); },
       "species 7's name at 0x7004D does not end within its 11 bytes"},
      {kTable, test::kImageSize, [](auto& bytes) { bytes[kTable + 11 * 411] = 0x0A; },
       "species 411's name at 0x711A9 holds 0x0A, no character Vantrel knows"},
  };
  for (const Unusable& table : unusable) {
    SCOPED_TRACE(table.why);
    std::vector<std::uint8_t> made = ImageBytes();
    test::PutNames(made, kTable, 3, french);
    test::PutWord(made, 0x144, 0x08000000 + static_cast<std::uint32_t>(table.at));
    if (table.spoil) table.spoil(made);
    made.resize(table.size);
    test::WriteBytes(image, made);
    EXPECT_EQ(listed({"species", name}), built_in);
    EXPECT_NE(Cli({"info", name}).out.find("\nnames: built in (" + table.why + ")\n"),
              std::string::npos)
        << Cli({"info", name}).out;
  }
}

// The cry of a species, or the title screen's, as a WAV file of the image's
// own samples: to a file, or to the output byte for byte.
TEST_F(CliTest, CryWritesTheImagesOwnSamplesAsAWavFile) {
  const std::vector<std::int8_t>& samples = test::kTestCry.samples;
  std::vector<std::uint8_t> made = test::ReleaseImageBytes(kReleases[1], 25);
  test::PutCry(made, kReleases[1].cry_table_word, 25);
  test::WriteBytes(image, made);
  const std::string wav_file = Text(dir / "pikachu.wav");
  const ProgramResult to_file = Cli({"cry", Text(image), "-o", wav_file});
  EXPECT_EQ(to_file.out, wav_file + ": Pikachu's cry, 0.00 s at 10512 Hz\n");
  // The later species' cries, where the game's ids put them: Kecleon's
  // (251) through the second word, Rayquaza's (371) past the first block.
  test::PutCry(made, kReleases[1].cry_table_word, 352);
  test::PutCry(made, kReleases[1].cry_table_word, 384);
  test::WriteBytes(image, made);
  for (const std::string species : {"Kecleon", "Rayquaza"}) {
    EXPECT_EQ(Cli({"cry", Text(image), species, "-o", wav_file}).out,
              wav_file + ": " + species + "'s cry, 0.00 s at 10512 Hz\n");
  }
  const ProgramResult to_out = Cli({"cry", Text(image), "pikachu", "-o", "-"});
  EXPECT_EQ(to_out.exit_code, 0) << to_out.err;
  for (const std::vector<std::uint8_t>& wav :
       {ReadBytes(dir / "pikachu.wav"),
        std::vector<std::uint8_t>(to_out.out.begin(), to_out.out.end())}) {
    ASSERT_EQ(wav.size(), 44u + samples.size() + 1);
    EXPECT_EQ(std::vector<std::uint8_t>(wav.begin() + 24, wav.begin() + 28),
              (std::vector<std::uint8_t>{0x10, 0x29, 0, 0}));  // 10512 Hz
    for (std::size_t i = 0; i < samples.size(); ++i) {
      EXPECT_EQ(wav[44 + i], static_cast<std::uint8_t>(samples[i] + 128)) << i;
    }
  }
  EXPECT_EQ(ReadBytes(image), made);

  test::WriteBytes(image, CodeAt(Unknown("BPRX"), {0x791EE}));
  const ProgramResult no_table = Cli({"cry", Text(image), "Mew", "-o", wav_file});
  EXPECT_EQ(no_table.exit_code, 1);
  EXPECT_EQ(no_table.err.find("vantrel-cli: " + Text(image) +
                              ": Mew's cry: the image has no cry table Vantrel can find ("),
            0u)
      << no_table.err;
}

TEST_F(CliTest, ForceGoesOnlyWithWrites) {
  for (const std::vector<std::string>& command : std::vector<std::vector<std::string>>{
           {"--force", "show", Text(image)}, {"info", "--force", Text(image)}, {"--force"}}) {
    const ProgramResult result = Cli(command);
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_EQ(result.out, "");
  }
  ExpectCry(6);
}

TEST_F(CliTest, ReadOnlyImageIsShownButNotWritten) {
  test::MakeReadOnly(image);
  ProgramResult result = Cli({"show", Text(image)}, true);
  EXPECT_EQ(result.out, "6 Charizard\n");
  result = Cli({"set", Text(image), "Mew"}, true);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "Error: 70: Permission denied\n");
  ExpectCry(6);
}

TEST_F(CliTest, DoubleDashAllowsNamesThatStartWithADash) {
  const fs::path dashed = test::MakeImage(dir / "-dashed \xC3\xA9.gba", test::kImageSize, 25);
  // The name must reach the tool bare, so the tool runs inside the folder;
  // the suite's own folder is put back for the tests after this one.
  const fs::path previous = fs::current_path();
  fs::current_path(dir.Path());
  const std::string name = Utf8FromPath(dashed.filename());
  const std::string shown = Cli({"show", "--", name}).out;
  const int without_dashes = Cli({"show", name}).exit_code;
  fs::current_path(previous);
  EXPECT_EQ(shown, "25 Pikachu\n");
  EXPECT_EQ(without_dashes, 2);
}

// Output that cannot be written is a failure, said on stderr; after a write
// the exit status stays the write's. An image never takes the place of a
// closed standard stream, so nothing printed can land in it.
TEST_F(CliTest, OutputThatCannotBeWrittenIsAFailure) {
  cli::TextOutput broken;
  broken.fails = true;
  cli::TextOutput err;
  EXPECT_EQ(cli::Run({"species"}, broken, err), 1);
  EXPECT_EQ(err.text, "vantrel-cli: write error on standard output\n");
  // A write that failed says nothing of a written byte.
  err.text.clear();
  EXPECT_EQ(cli::Run({"set", Text(dir / "gone.gba"), "Mew"}, broken, err), 1);
  EXPECT_EQ(err.text, "Error: 53: File not found\nvantrel-cli: write error on standard output\n");
#ifndef _WIN32
  const std::string name = Text(image);
  const std::vector<std::vector<std::string>> readers = {
      {"show", name}, {"info", name}, {"species"}, {"--help"}, {"--version"}};
  for (const std::string redirection : {">/dev/full", ">&-"}) {
    const auto redirected = [&](std::vector<std::string> arguments) {
      arguments.insert(arguments.begin(),
                       {"/bin/sh", "-c", "exec \"$0\" \"$@\" " + redirection, VANTREL_CLI_PATH});
      return test::RunProgram(arguments);
    };
    for (const auto& arguments : readers) {
      const ProgramResult result = redirected(arguments);
      EXPECT_EQ(result.exit_code, 1) << redirection << testing::PrintToString(arguments);
      EXPECT_EQ(result.err, "vantrel-cli: write error on standard output\n");
    }
    const ProgramResult result = redirected({"set", name, "Mew"});
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.err,
              "vantrel-cli: write error on standard output (the cry byte is written)\n");
    ExpectCry(151);
  }
  // An image whose code moved is written with a note, here to a closed stderr.
  original = CodeAt(kReleases[0], {0x40010});
  original[0x40010] = 0;
  test::WriteBytes(image, original);
  EXPECT_EQ(test::RunProgram(
                {"/bin/sh", "-c", "exec \"$0\" set \"$1\" 6 >&- 2>&-", VANTREL_CLI_PATH, name})
                .exit_code,
            0);
  EXPECT_EQ(ReadBytes(image)[0x40010], 6);
#endif
}

#ifndef _WIN32
// A name can neither split a line nor send the terminal a command.
TEST_F(CliTest, NamesArePrintedWithTheirControlCharactersEscaped) {
  const fs::path odd = test::MakeImage(dir / "new\nline \x1B[31mred\xE9 \xC2\x9B.gba");
  const fs::path gone = dir / "gone\r\t\x7F.gba";
  const ProgramResult result = Cli({"show", Text(odd), Text(gone), Text(image)});
  const std::string folder = Text(dir.Path()) + "/";
  EXPECT_EQ(result.out, folder + "new\\nline \\x1B[31mred\\xE9 \\xC2\\x9B.gba: 6 Charizard\n" +
                            Text(image) + ": 6 Charizard\n");
  EXPECT_EQ(result.err, folder + "gone\\r\\t\\x7F.gba: Error: 53: File not found\n");
}

// A file another program holds under a lease is reported as in use, at
// once, and left as it was.
TEST_F(CliTest, AFileUnderAnotherProgramsLeaseIsInUse) {
  const int held = open(image.c_str(), O_RDONLY);
  ASSERT_GE(held, 0);
  // The kernel tells the holder with SIGIO that a writer is waiting.
  const auto previous = std::signal(SIGIO, SIG_IGN);
  if (fcntl(held, F_SETLEASE, F_RDLCK) != 0) {
    std::signal(SIGIO, previous);
    close(held);
    GTEST_SKIP() << "this file system grants no leases";
  }
  const ProgramResult result = Cli({"remove", Text(image)});
  fcntl(held, F_SETLEASE, F_UNLCK);
  std::signal(SIGIO, previous);
  close(held);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, "Error: 70: Permission denied (the file is in use by another program)\n");
  ExpectCry(6);
}
#endif

}  // namespace
}  // namespace vantrel
