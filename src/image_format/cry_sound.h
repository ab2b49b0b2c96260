#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "image_format/releases.h"
#include "runtime/byte_source.h"

namespace vantrel {

// What a cry may be and still be played: the rate it plays at once its key
// is applied, and its length. Real cries are 0.5 to 1.5 s at about 10 kHz.
inline constexpr std::uint32_t kMinCryRate = 1000;
inline constexpr std::uint32_t kMaxCryRate = 65535;
inline constexpr std::uint32_t kMaxCrySamples = 1u << 20;

// A cry ready to play: mono signed 8-bit samples in the order they sound.
struct CrySound {
  std::uint32_t rate;  // Hz, with the entry's key applied
  std::vector<std::int8_t> samples;
};

// The image's cry table or wave is not one we can play. The text says what
// is wrong (a reader names the species before it); the file itself was read
// without failing.
class CryDataError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Decodes the cry of national species `species` (1 to kSpeciesCount), at
// its cry id, from the image open as `file`, whose table's address is held
// by the words at `table`. Reads the one word, entry, wave header and wave
// data it needs, each checked against the file first. Raises CryDataError for a bad table or wave,
// RuntimeError when the file cannot be read, and std::out_of_range for no such species.
CrySound DecodeCry(ByteSource& file, const CryTableWords& table, int species);

}  // namespace vantrel
