#pragma once

#include <cstdint>
#include <span>

#include "image_format/releases.h"
#include "runtime/binary_file.h"

namespace vantrel {

// The cry byte: the species whose cry the title screen plays, 0 for none.
// The first releases keep it here; --force writes here when an image's
// title-screen code cannot be found.
inline constexpr std::int32_t CryOffset = kFirstEnglishPlaces.cry_byte;
inline constexpr std::uint8_t NoCry = 0;
inline constexpr std::uint8_t RestoreCry = kFireRedStockCry;
inline constexpr std::uint8_t LeafGreenCry = kLeafGreenStockCry;

// List positions count from 0, with -1 for no selection; values from 1, with
// 0 for no cry. So "nothing selected" and "no cry" are the same byte.
constexpr std::int16_t PositionOfValue(int value) {
  return static_cast<std::int16_t>(value - 1);
}
constexpr int ValueOfPosition(std::int16_t position) {
  return position + 1;
}

// The cry value at `offset` of an open image. Failures are raised.
std::uint8_t ReadCry(ByteSource& file, std::int64_t offset);

// The species the title screen's code names in its wide form, whose cry
// byte is at `offset`: its high byte stands 4 bytes before. Failures are
// raised.
std::uint16_t ReadWideCry(ByteSource& file, std::int64_t offset);

// Writes `value` as the cry byte at `offset` in place. Failures are raised.
void WriteCry(BinaryFile& file, std::int64_t offset, std::uint8_t value);

// Writes `bytes` in place from `offset` on, as one write: the title screen's
// window, which the game must never meet half written. Failures are raised.
void WriteCry(BinaryFile& file, std::int64_t offset, std::span<const std::uint8_t> bytes);

}  // namespace vantrel
