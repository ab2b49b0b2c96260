#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/command_line.h"
#include "runtime/error.h"
#include "runtime/hex.h"
#include "runtime/path_text.h"

namespace vantrel {
namespace {

TEST(HexDigits, UppercaseWithoutLeadingZeros) {
  EXPECT_EQ(HexDigits(0), "0");
  EXPECT_EQ(HexDigits(6), "6");
  EXPECT_EQ(HexDigits(0xFB), "FB");
  EXPECT_EQ(HexDigits(0x791EE), "791EE");
  EXPECT_EQ(HexDigits(0xFFFFFFFF), "FFFFFFFF");
  EXPECT_EQ(HexByteDigits(0), "00");
  EXPECT_EQ(HexByteDigits(6), "06");
  EXPECT_EQ(HexByteDigits(0xFB), "FB");
}

TEST(HexByteValue, AcceptsOneOrTwoDigitsOfEitherCase) {
  EXPECT_EQ(HexByteValue("06"), 6);
  EXPECT_EQ(HexByteValue("fb"), 0xFB);
  EXPECT_EQ(HexByteValue("Ab"), 0xAB);
  EXPECT_EQ(HexByteValue("7"), 7);
  EXPECT_EQ(HexByteValue("FF"), 255);
}

TEST(HexByteValue, RejectsEverythingElseAsTypeMismatch) {
  for (const char* text : {"", " 6", "6 ", "  ", "G0", "0x", "-1", "100", "+6"}) {
    try {
      HexByteValue(text);
      ADD_FAILURE() << "accepted \"" << text << "\"";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), 13) << text;
      EXPECT_EQ(error.Description(), "Type mismatch");
    }
  }
}

TEST(RuntimeError, CarriesTheRuntimesNumbersAndTexts) {
  EXPECT_EQ(RuntimeError(53).Description(), "File not found");
  EXPECT_EQ(RuntimeError(75).Description(), "Path/File access error");
  EXPECT_EQ(RuntimeError(76).Description(), "Path not found");
  EXPECT_EQ(RuntimeError(kWritePastEndOfFile).Description(), "Write past end of file");
  EXPECT_STREQ(RuntimeError(70).what(), "Permission denied");
  // Ours beyond the runtime's numbers, in its style.
  EXPECT_EQ(RuntimeError(7).Description(), "Out of memory");
  EXPECT_EQ(RuntimeError(67).Description(), "Too many files");
  EXPECT_EQ(RuntimeError(68).Description(), "Device unavailable");
  EXPECT_EQ(RuntimeError(kStaleFileHandle).Description(), "Stale file handle");
}

TEST(PathText, Utf8SurvivesTheRoundTrip) {
  const std::string name = "Pok\xC3\xA9mon \xE7\x81\xAB.gba";
  EXPECT_EQ(Utf8FromPath(PathFromUtf8(name)), name);
  EXPECT_EQ(Utf8FromPath(PathFromUtf8("dir/" + name).filename()), name);
}

TEST(SplitArguments, KeepsOptionsWithTheirValuesAndOperandsInOrder) {
  using Strings = std::vector<std::string>;
  struct Row {
    Strings arguments;
    Strings options;  // each option's name, then "=" and its value if it has one
    Strings operands;
  };
  const Row rows[] = {
      {{"a", "--", "-b", "--"}, {}, {"a", "-b", "--"}},
      {{"-", "", "-x", "--force", "b"}, {"-x", "--force"}, {"-", "", "b"}},
      {{"-o", "--", "c", "-o"}, {"-o=--", "-o"}, {"c"}},
  };
  for (const Row& row : rows) {
    const Arguments<char> split = SplitArguments(row.arguments, {"-o"});
    Strings options;
    for (const Arguments<char>::Option& option : split.options) {
      options.push_back(option.name + (option.value ? "=" + *option.value : ""));
    }
    EXPECT_EQ(options, row.options) << row.arguments.front();
    EXPECT_EQ(split.operands, row.operands) << row.arguments.front();
  }
}

}  // namespace
}  // namespace vantrel
