#pragma once

#include <cstdint>
#include <filesystem>

namespace vantrel {

// The cry byte: the species whose cry the title screen plays, 0 for none.
inline constexpr std::int32_t CryOffset = 0x791EE;
inline constexpr std::uint8_t NoCry = 0;
inline constexpr std::uint8_t RestoreCry = 6;  // the stock cry, Charizard

// List positions count from 0, with -1 for no selection; values from 1, with
// 0 for no cry. So "nothing selected" and "no cry" are the same byte.
constexpr std::int16_t PositionOfValue(int value) {
  return static_cast<std::int16_t>(value - 1);
}
constexpr int ValueOfPosition(std::int16_t position) {
  return position + 1;
}

// The cry value of the image at `path`. After a failed read (already shown in
// the failure box) raises 13 "Type mismatch" instead of returning.
std::uint8_t ReadCry(const std::filesystem::path& path);

// Writes `value` as the cry byte in place. Failures are shown in the failure
// box; returns whether the byte is on disk.
bool WriteCry(const std::filesystem::path& path, std::uint8_t value);

}  // namespace vantrel
