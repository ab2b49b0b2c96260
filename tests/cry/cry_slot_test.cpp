#include <gtest/gtest.h>

#include <set>

#include "cry/cry_slot.h"
#include "cry/species_list.h"
#include "runtime/error.h"
#include "support/recording_box.h"
#include "support/temp_files.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using test::ImageBytes;
using test::ReadBytes;
using test::ShownBox;

TEST(SpeciesList, HoldsTheSpeciesInOrderAsSpelled) {
  const auto& species = SpeciesList();
  ASSERT_EQ(species.size(), 251u);
  EXPECT_EQ(species[0], "Bulbasaur");
  EXPECT_EQ(species[PositionOfValue(RestoreCry)], "Charizard");
  EXPECT_EQ(species[82], "Farfetch'd");
  EXPECT_EQ(species[121], "Mr.Mime");
  EXPECT_EQ(species[150], "Mew");
  EXPECT_EQ(species[202], "Girafarig ");
  EXPECT_EQ(species[232], "Porygon 2");
  EXPECT_EQ(species[249], "Ho-oh");
  EXPECT_EQ(species[250], "Celebi");
  EXPECT_EQ(std::set<std::string_view>(species.begin(), species.end()).size(), 251u);
}

TEST(CryMapping, NoSelectionAndNoCryAreTheSameByte) {
  EXPECT_EQ(PositionOfValue(0), -1);
  EXPECT_EQ(ValueOfPosition(-1), 0);
  EXPECT_EQ(PositionOfValue(251), 250);
  EXPECT_EQ(ValueOfPosition(250), 251);
  EXPECT_EQ(CryOffset, 496110);
}

class CrySlotTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  test::RecordingMessageBox boxes;
};

TEST_F(CrySlotTest, EveryValueRoundTripsAndOnlyTheCryByteChanges) {
  const fs::path image = test::MakeImage(dir / "image.gba");
  const std::vector<std::uint8_t> original = ReadBytes(image);
  for (int value = 0; value <= 255; ++value) {
    ASSERT_TRUE(WriteCry(image, static_cast<std::uint8_t>(value)));
    ASSERT_EQ(ReadCry(image), value);
  }
  std::vector<std::uint8_t> after = ReadBytes(image);
  EXPECT_EQ(after[CryOffset], 255);
  after[CryOffset] = original[CryOffset];
  EXPECT_EQ(after, original);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CrySlotTest, WritingBackWhatWasReadLeavesTheFileAsItWas) {
  for (std::uint8_t value : {0, 1, 6, 203, 251}) {
    const fs::path image = test::MakeImage(dir / "image.gba", test::kImageSize, value);
    ASSERT_TRUE(WriteCry(image, ReadCry(image)));
    EXPECT_EQ(ReadBytes(image), ImageBytes(test::kImageSize, value));
  }
}

TEST_F(CrySlotTest, AFailedReadRaisesTypeMismatchAfterItsBox) {
  try {
    ReadCry(dir / "missing.gba");
    FAIL() << "no error raised";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 13);
  }
  EXPECT_EQ(boxes.shown, (std::vector<ShownBox>{{"File not found", "Error: 53"}}));
}

TEST_F(CrySlotTest, AnImageTooShortIsReportedNeverExtended) {
  for (std::size_t size : {std::size_t{0}, std::size_t{CryOffset}}) {
    const fs::path image = test::MakeImage(dir / "short.gba", size);
    EXPECT_THROW(ReadCry(image), RuntimeError);
    EXPECT_FALSE(WriteCry(image, 6));
    EXPECT_EQ(fs::file_size(image), size);
  }
  const fs::path exact = test::MakeImage(dir / "exact.gba", CryOffset + 1, 9);
  EXPECT_EQ(ReadCry(exact), 9);
  EXPECT_TRUE(WriteCry(exact, 251));
  EXPECT_EQ(ReadBytes(exact).back(), 0xFB);
  EXPECT_EQ(boxes.shown.size(), 4u);
}

}  // namespace
}  // namespace vantrel
