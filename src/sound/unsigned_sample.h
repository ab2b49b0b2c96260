#pragma once

#include <cstdint>

namespace vantrel {

// A cry's signed sample as 8-bit sound outputs and WAV files take it:
// unsigned, with silence at 128.
constexpr std::uint8_t UnsignedSample(std::int8_t sample) {
  return static_cast<std::uint8_t>(sample + 128);
}

}  // namespace vantrel
