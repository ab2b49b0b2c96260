#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <tuple>

#include "cli/cli.h"
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
  ASSERT_EQ(all.size(), 251u);
  EXPECT_EQ(all[0], "1\tBulbasaur");
  EXPECT_EQ(all[202], "203\tGirafarig ");
  EXPECT_EQ(all[250], "251\tCelebi");
}

TEST_F(CliTest, UsageErrorsExitTwoAndTouchNothing) {
  const std::vector<std::vector<std::string>> misuses = {
      {},
      {"frobnicate"},
      {"show"},
      {"set", Text(image)},
      {"set", Text(image), "Missingno"},
      {"set", Text(image), "252"},
      {"set", Text(image), ""},
      {"remove"},
      {"restore", Text(image), Text(image)},
      {"species", "extra"},
      {"info"},
      {"--bogus", "show", Text(image)},
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
            "cry: 6 Charizard\n"
            "FireRed English: yes\n");
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
            "cry: 6 Charizard\n"
            "FireRed English: no, its game code is \"AXVE\", not \"BPRE\"\n");
  EXPECT_EQ(ReadBytes(image), content);
}

TEST_F(CliTest, InfoOfShortFilesSaysWhatIsMissing) {
  const fs::path tiny = test::MakeImage(dir / "tiny.gba", 0xBD);
  const fs::path headed = test::MakeImage(dir / "headed.gba", 0x791EE);
  const fs::path missing = dir / "missing.gba";
  const ProgramResult result = Cli({"info", Text(tiny), Text(missing), Text(headed)});
  EXPECT_EQ(result.exit_code, 1);
  const std::string t = Text(tiny) + ": ";
  const std::string h = Text(headed) + ": ";
  EXPECT_EQ(result.out, t + "size: 189 bytes\n" + t + "header: none (the file ends before 0xBE)\n" +
                            t + "cry: none (the file ends before 0x791EE)\n" + t +
                            "FireRed English: no, it is too short to hold the cry byte (189 "
                            "bytes)\n" +
                            h + "size: 496110 bytes\n" + h + "title: VANTREL TEST\n" + h +
                            "game code: BPRE\n" + h + "maker code: 01\n" + h +
                            "software version: 0\n" + h + "fixed byte 0xB2: 0x96 (as expected)\n" +
                            h + "header complement 0xBD: 0x9B (matches)\n" + h +
                            "cry: none (the file ends before 0x791EE)\n" + h +
                            "FireRed English: no, it is too short to hold the cry byte (496110 "
                            "bytes)\n");
  EXPECT_EQ(result.err, Text(missing) + ": Error: 53: File not found\n");
  EXPECT_EQ(ReadBytes(tiny), ImageBytes(0xBD));
  EXPECT_FALSE(fs::exists(missing));
}

TEST_F(CliTest, WritesRefuseAnotherImageUnlessForced) {
  const std::string name = Text(image);
  for (auto [offset, bytes, why] :
       {std::tuple{0xAC, std::string_view("AXVE"), "its game code is \"AXVE\", not \"BPRE\""},
        {0xAC, std::string_view("BPRF"), "its game code is \"BPRF\", not \"BPRE\""},
        {0xB2, std::string_view("\x97"), "the byte at 0xB2 is not 0x96"}}) {
    const std::vector<std::uint8_t> made = Patched(image, offset, bytes);
    for (const std::vector<std::string>& command : std::vector<std::vector<std::string>>{
             {"set", name, "Mew"}, {"remove", name}, {"restore", name}}) {
      const ProgramResult result = Cli(command);
      EXPECT_EQ(result.exit_code, 1) << why;
      EXPECT_EQ(result.out, "");
      EXPECT_EQ(result.err, "vantrel-cli: " + name + " is not a FireRed English image: " + why +
                                "; nothing written (--force writes anyway)\n");
      EXPECT_EQ(ReadBytes(image), made);
    }
    const ProgramResult forced = Cli({"set", "--force", name, "Mew"});
    EXPECT_EQ(forced.exit_code, 0);
    EXPECT_EQ(forced.out, "ROM saved successfully!\n");
    EXPECT_EQ(forced.err, "");
    std::vector<std::uint8_t> expected = made;
    expected[0x791EE] = 151;
    EXPECT_EQ(ReadBytes(image), expected);
  }

  const fs::path short_image = test::MakeImage(dir / "short.gba", 0x791EE);
  const ProgramResult result = Cli({"remove", Text(short_image)});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, "vantrel-cli: " + Text(short_image) +
                            " is not a FireRed English image: it is too short to hold the cry "
                            "byte (496110 bytes); nothing written (--force writes anyway)\n");
  EXPECT_EQ(ReadBytes(short_image), ImageBytes(0x791EE));
}

TEST_F(CliTest, ALaterReleaseIsWrittenWithAWarning) {
  const std::vector<std::uint8_t> made = Patched(image, 0xBC, "\x01");
  const ProgramResult result = Cli({"set", Text(image), "Mew"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "ROM saved successfully!\n");
  EXPECT_EQ(result.err, "vantrel-cli: warning: " + Text(image) +
                            " has software version 1; later releases may keep the cry byte "
                            "elsewhere\n");
  std::vector<std::uint8_t> expected = made;
  expected[0x791EE] = 151;
  EXPECT_EQ(ReadBytes(image), expected);
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
  std::ostream broken(nullptr);
  std::ostringstream err;
  EXPECT_EQ(cli::Run({"species"}, broken, err), 1);
  EXPECT_EQ(err.str(), "vantrel-cli: write error on standard output\n");
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
  // A later release is written with a warning, here to a closed stderr.
  original[0xBC] = 1;
  test::WriteBytes(image, original);
  EXPECT_EQ(test::RunProgram(
                {"/bin/sh", "-c", "exec \"$0\" set \"$1\" 6 >&- 2>&-", VANTREL_CLI_PATH, name})
                .exit_code,
            0);
  ExpectCry(6);
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
