#include <gtest/gtest.h>

#include "image_bytes/hex_functions.h"
#include "support/handles.h"
#include "support/recording_box.h"
#include "support/temp_files.h"
#include "support/unprivileged.h"

namespace vantrel::HexFunctions {
namespace {

namespace fs = std::filesystem;
using test::ImageBytes;
using test::ReadBytes;
using test::ShownBox;

TEST(ReverseHex, ReversesByteOrderAndPadsOddText) {
  EXPECT_EQ(ReverseHex("0A1B2C"), "2C1B0A");
  EXPECT_EQ(ReverseHex("ABC"), "BC0A");
  EXPECT_EQ(ReverseHex("7"), "07");
  EXPECT_EQ(ReverseHex(""), "");
  EXPECT_EQ(ReverseHex("06"), "06");
  EXPECT_EQ(ReverseHex("zz1"), "z10z");  // characters are not checked here
}

class HexFileTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  fs::path image = test::MakeImage(dir / "image.gba", 64);
  test::RecordingMessageBox boxes;
};

TEST_F(HexFileTest, ReadHexGivesTwoUppercaseDigitsPerByteInFileOrder) {
  test::WriteBytes(image, {0x06, 0xAB, 0x01, 0x02, 0x03, 0x0F});
  EXPECT_EQ(ReadHex(image, 0, 1), "06");
  EXPECT_EQ(ReadHex(image, 1, 1), "AB");
  EXPECT_EQ(ReadHex(image, 2, 3), "010203");
  EXPECT_EQ(ReadHex(image, 5, 1), "0F");
  EXPECT_EQ(ReadHex(image, 0, 0), "");
  EXPECT_EQ(ReadHex(image, 0, -4), "");
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HexFileTest, WriteHexPutsEachPairAtItsOffsetAndNothingElse) {
  ASSERT_TRUE(WriteHex(image, 10, "0102"));
  ASSERT_TRUE(WriteHex(image, 20, "6"));
  ASSERT_TRUE(WriteHex(image, 30, "fe"));
  ASSERT_TRUE(WriteHex(image, 40, ""));
  std::vector<std::uint8_t> expected = ImageBytes(64);
  expected[10] = 0x01;
  expected[11] = 0x02;
  expected[20] = 0x06;
  expected[30] = 0xFE;
  EXPECT_EQ(ReadBytes(image), expected);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(HexFileTest, FailuresAreShownInTheFailureBox) {
  EXPECT_EQ(ReadHex("", 0, 1), "");
  EXPECT_EQ(ReadHex(dir / "missing.gba", 0, 1), "");
  EXPECT_FALSE(WriteHex(dir / "none" / "x.gba", 0, "01"));
  EXPECT_EQ(ReadHex(dir.Path(), 0, 1), "");
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{{"Bad file name or number", "Error: 52"},
                                                {"File not found", "Error: 53"},
                                                {"Path not found", "Error: 76"},
                                                {"Path/File access error", "Error: 75"}}));
  EXPECT_FALSE(fs::exists(dir / "missing.gba"));
}

TEST_F(HexFileTest, ReadPastTheEndDiscardsWhatWasRead) {
  EXPECT_EQ(ReadHex(image, 62, 4), "");
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{{"Input past end of file", "Error: 62"}}));
}

TEST_F(HexFileTest, WritePastTheEndWritesNothingThereAndKeepsTheSize) {
  EXPECT_FALSE(WriteHex(image, 64, "01"));
  EXPECT_FALSE(WriteHex(image, 63, "AABB"));  // the first byte fits, the second does not
  std::vector<std::uint8_t> expected = ImageBytes(64);
  expected[63] = 0xAA;
  EXPECT_EQ(ReadBytes(image), expected);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0], (ShownBox{"Write past end of file", "Error: 1001"}));
}

TEST_F(HexFileTest, ABadPairStopsTheWriteThere) {
  EXPECT_FALSE(WriteHex(image, 0, "01G203"));
  EXPECT_FALSE(WriteHex(image, 8, " 5"));  // blanks are not digits
  std::vector<std::uint8_t> expected = ImageBytes(64);
  expected[0] = 0x01;
  EXPECT_EQ(ReadBytes(image), expected);
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{{"Type mismatch", "Error: 13"},
                                                {"Type mismatch", "Error: 13"}}));
}

TEST_F(HexFileTest, ReadOnlyImageIsReadButNotWritten) {
  test::MakeReadOnly(image);
  const int outcome = test::RunUnprivileged([&] {
    test::RecordingMessageBox child_boxes;
    const bool read = ReadHex(image, 1, 1) == "26";
    const bool written = WriteHex(image, 1, "00");
    const bool boxed =
        child_boxes.shown == std::vector<ShownBox>{{"Permission denied", "Error: 70"}};
    return read && !written && boxed ? 0 : 1;
  });
  EXPECT_EQ(outcome, 0);
  EXPECT_EQ(ReadBytes(image), ImageBytes(64));
}

TEST_F(HexFileTest, NoHandleOutlivesACall) {
  const int before = test::OpenHandleCount();
  ReadHex(image, 0, 2);
  ReadHex(image, 63, 2);
  WriteHex(image, 0, "0Z");
  WriteHex(image, 64, "00");
  WriteHex(image, 5, "05");
  EXPECT_EQ(test::OpenHandleCount(), before);
  EXPECT_EQ(ReadHex(image, 5, 1), "05");
}

}  // namespace
}  // namespace vantrel::HexFunctions
