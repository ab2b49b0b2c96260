#include <gtest/gtest.h>

#include <functional>

#include "image_bytes/hex_functions.h"
#include "runtime/error.h"
#include "support/temp_files.h"

namespace vantrel::HexFunctions {
namespace {

namespace fs = std::filesystem;
using test::ImageBytes;
using test::ReadBytes;

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
  // Runs `work` on the image opened to write, then closes it; the number of
  // the error it raised, 0 for none.
  int OnImage(const std::function<void(BinaryFile&)>& work) {
    try {
      BinaryFile file = BinaryFile::Open(image, BinaryFile::Access::kReadWrite);
      work(file);
      file.Close();
    } catch (const RuntimeError& error) {
      return error.Number();
    }
    return 0;
  }

  test::TempDir dir;
  fs::path image = test::MakeImage(dir / "image.gba", 64);
};

TEST_F(HexFileTest, ReadHexGivesTwoUppercaseDigitsPerByteInFileOrder) {
  test::WriteBytes(image, {0x06, 0xAB, 0x01, 0x02, 0x03, 0x0F});
  EXPECT_EQ(OnImage([](BinaryFile& file) {
              EXPECT_EQ(ReadHex(file, 0, 1), "06");
              EXPECT_EQ(ReadHex(file, 1, 1), "AB");
              EXPECT_EQ(ReadHex(file, 2, 3), "010203");
              EXPECT_EQ(ReadHex(file, 5, 1), "0F");
              EXPECT_EQ(ReadHex(file, 0, 0), "");
              EXPECT_EQ(ReadHex(file, 0, -4), "");
            }),
            0);
  EXPECT_EQ(OnImage([](BinaryFile& file) { ReadHex(file, 4, 4); }), kInputPastEndOfFile);
}

TEST_F(HexFileTest, WriteHexPutsEachPairAtItsOffsetAndNothingElse) {
  EXPECT_EQ(OnImage([](BinaryFile& file) {
              WriteHex(file, 10, "0102");
              WriteHex(file, 20, "6");
              WriteHex(file, 30, "fe");
              WriteHex(file, 40, "");
            }),
            0);
  std::vector<std::uint8_t> expected = ImageBytes(64);
  expected[10] = 0x01;
  expected[11] = 0x02;
  expected[20] = 0x06;
  expected[30] = 0xFE;
  EXPECT_EQ(ReadBytes(image), expected);
}

// The bytes before the failure stay written; nothing past the end is.
TEST_F(HexFileTest, AFailureStopsTheWriteThere) {
  EXPECT_EQ(OnImage([](BinaryFile& file) { WriteHex(file, 0, "01G203"); }), kTypeMismatch);
  EXPECT_EQ(OnImage([](BinaryFile& file) { WriteHex(file, 8, " 5"); }), kTypeMismatch);
  EXPECT_EQ(OnImage([](BinaryFile& file) { WriteHex(file, 63, "AABB"); }), kWritePastEndOfFile);
  std::vector<std::uint8_t> expected = ImageBytes(64);
  expected[0] = 0x01;
  expected[63] = 0xAA;
  EXPECT_EQ(ReadBytes(image), expected);
}

}  // namespace
}  // namespace vantrel::HexFunctions
