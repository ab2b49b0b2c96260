#pragma once

#include <cstdint>
#include <vector>

#include "image_format/cry_sound.h"

namespace vantrel {

// `sound` as a whole WAV file: RIFF, PCM, mono, 8-bit at the cry's rate.
// Complete in memory, so that a player can take it without a file.
std::vector<std::uint8_t> WavBytes(const CrySound& sound);

}  // namespace vantrel
