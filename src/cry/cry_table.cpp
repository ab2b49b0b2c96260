#include "cry/cry_table.h"

#include <array>

namespace vantrel {
namespace {

bool PointsInside(BinaryFile& file, std::int64_t word_at, std::int64_t size) {
  std::array<std::uint8_t, 4> word{};
  if (file.Read(word_at, word) < word.size()) return false;
  const std::uint32_t address =
      word[0] | word[1] << 8 | word[2] << 16 | static_cast<std::uint32_t>(word[3]) << 24;
  return address >= kCartridgeAddress && address - kCartridgeAddress < size;
}

}  // namespace

std::optional<CryTableWords> FindCryTable(BinaryFile& file, const CryByteLocation& location) {
  if (!location.at_release_offset || location.release == nullptr) return std::nullopt;
  const CryTableWords& words = location.release->cry_table;
  const std::int64_t size = file.Size();
  if (!PointsInside(file, words.block0, size) || !PointsInside(file, words.block1, size)) {
    return std::nullopt;
  }
  return words;
}

}  // namespace vantrel
