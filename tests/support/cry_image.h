#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "cry/cry_sound.h"
#include "cry/releases.h"

namespace vantrel::test {

// Where PutCry puts its table and wave, as file offsets.
inline constexpr std::size_t kCryTableAt = 0x10000;
inline constexpr std::size_t kCryWaveAt = 0x20000;

// A cry of the test's own: `seconds` of a tone sweeping from 300 to 2400 Hz
// at 10512 Hz, never the same twice over, so that a recording matches it at
// one place only.
CrySound SweepCry(double seconds = 0.5);

// Puts a cry table into `bytes`, an image of `release`: the release's two
// table words point at one table whose entry for `species` names a plain
// wave holding `sound`. The other entries stay as `bytes` held them.
void PutCry(std::vector<std::uint8_t>& bytes, const Release& release, int species,
            const CrySound& sound);

// Writes `value` as a little-endian word at `at`.
void PutWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);

}  // namespace vantrel::test
