#pragma once

#include <cstdint>

#include "image_format/cry_sound.h"

namespace vantrel {

// `sound` at `rate` Hz, each sample drawn on the line between the two it
// falls between: for a sound output that refuses the cry's own rate.
CrySound Resampled(const CrySound& sound, std::uint32_t rate);

}  // namespace vantrel
