#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "cry/cry_slot.h"
#include "cry/species_list.h"
#include "support/temp_files.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;

TEST(SpeciesList, HoldsTheSpeciesInOrderAsSpelled) {
  const auto& species = SpeciesList();
  ASSERT_EQ(species.size(), 386u);
  EXPECT_EQ(species[0], "Bulbasaur");
  EXPECT_EQ(species[PositionOfValue(RestoreCry)], "Charizard");
  EXPECT_EQ(species[82], "Farfetch'd");
  EXPECT_EQ(species[121], "Mr.Mime");
  EXPECT_EQ(species[150], "Mew");
  EXPECT_EQ(species[202], "Girafarig ");
  EXPECT_EQ(species[232], "Porygon 2");
  EXPECT_EQ(species[249], "Ho-oh");
  EXPECT_EQ(species[250], "Celebi");
  EXPECT_EQ(species[251], "Treecko");
  EXPECT_EQ(species[383], "Rayquaza");
  EXPECT_EQ(species[385], "Deoxys");
  EXPECT_EQ(std::set<std::string_view>(species.begin(), species.end()).size(), 386u);
}

// National and internal numbers, and cry ids, at the edges of the ranges:
// placeholders name no species, and no number is taken twice.
TEST(SpeciesNumbers, MapNationalToInternalAndCryIdAndBack) {
  for (auto [national, internal, cry_id] : {std::tuple{1, 1, 0},
                                            {251, 251, 250},
                                            {252, 277, 273},
                                            {358, 411, 387},
                                            {384, 406, 371},
                                            {386, 410, 386}}) {
    EXPECT_EQ(InternalNumberOf(national), internal) << national;
    EXPECT_EQ(NationalNumberOf(internal), national) << internal;
    EXPECT_EQ(CryIdOf(national), cry_id) << national;
  }
  std::set<int> internals;
  std::set<int> cry_ids;
  for (int national = 1; national <= kSpeciesCount; ++national) {
    internals.insert(InternalNumberOf(national));
    cry_ids.insert(CryIdOf(national));
  }
  EXPECT_EQ(internals.size() + cry_ids.size(), 2u * kSpeciesCount);
  EXPECT_LT(*cry_ids.rbegin(), kCryCount);
  for (int placeholder : {0, 252, 276, 412, 0xFFFF}) EXPECT_FALSE(NationalNumberOf(placeholder));
}

TEST(CryMapping, NoSelectionAndNoCryAreTheSameByte) {
  EXPECT_EQ(PositionOfValue(0), -1);
  EXPECT_EQ(ValueOfPosition(-1), 0);
  EXPECT_EQ(PositionOfValue(251), 250);
  EXPECT_EQ(ValueOfPosition(250), 251);
  EXPECT_EQ(CryOffset, 496110);
}

TEST(StockCry, IsLeafGreensForItsGameCodesAndFireRedsForAnyOther) {
  for (auto [code, stock] :
       {std::pair{"BPGE", 3}, {"BPGF", 3}, {"BPRE", 6}, {"BPRF", 6}, {"AXVE", 6}, {"", 6}}) {
    EXPECT_EQ(StockCryOf(code), stock) << code;
  }
}

TEST(CrySlot, EveryValueRoundTripsAndOnlyTheCryByteChanges) {
  test::TempDir dir;
  const fs::path image = test::MakeImage(dir / "image.gba");
  const std::vector<std::uint8_t> original = ReadBytes(image);
  BinaryFile file = BinaryFile::Open(image, BinaryFile::Access::kReadWrite);
  for (int value = 0; value <= 255; ++value) {
    WriteCry(file, CryOffset, static_cast<std::uint8_t>(value));
    ASSERT_EQ(ReadCry(file, CryOffset), value);
  }
  file.Close();
  std::vector<std::uint8_t> after = ReadBytes(image);
  EXPECT_EQ(after[CryOffset], 255);
  after[CryOffset] = original[CryOffset];
  EXPECT_EQ(after, original);
}

}  // namespace
}  // namespace vantrel
