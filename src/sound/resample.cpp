#include "sound/resample.h"

#include <algorithm>
#include <cmath>

namespace vantrel {

CrySound Resampled(const CrySound& sound, std::uint32_t rate) {
  CrySound out{rate, {}};
  if (sound.samples.empty()) return out;
  const std::size_t count = sound.samples.size();
  const auto resampled_count = static_cast<std::size_t>(
      std::llround(static_cast<double>(count) * rate / static_cast<double>(sound.rate)));
  out.samples.reserve(resampled_count);
  const double step = static_cast<double>(sound.rate) / rate;
  for (std::size_t i = 0; i < resampled_count; ++i) {
    const double at = static_cast<double>(i) * step;
    const auto before = std::min(static_cast<std::size_t>(at), count - 1);
    const std::size_t after = std::min(before + 1, count - 1);
    const double part = at - static_cast<double>(before);
    const double value =
        sound.samples[before] + (sound.samples[after] - sound.samples[before]) * part;
    out.samples.push_back(static_cast<std::int8_t>(std::lround(value)));
  }
  return out;
}

}  // namespace vantrel
