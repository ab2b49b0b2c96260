#include "support/cry_image.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cry/cry_table.h"

namespace vantrel::test {
namespace {

constexpr std::size_t kEntrySize = 12;
constexpr std::size_t kWaveHeaderSize = 16;

}  // namespace

CrySound SweepCry(double seconds) {
  constexpr double kRate = 10512;
  CrySound sound{static_cast<std::uint32_t>(kRate), {}};
  const auto count = static_cast<std::size_t>(seconds * kRate);
  double phase = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double progress = static_cast<double>(i) / static_cast<double>(count);
    phase += 2 * std::numbers::pi * (300 + 2100 * progress) / kRate;
    // Faded in and out, as a cry is, so that it starts and ends in silence.
    const double envelope = std::min({1.0, progress * 20, (1 - progress) * 20});
    sound.samples.push_back(
        static_cast<std::int8_t>(std::lround(100 * envelope * std::sin(phase))));
  }
  return sound;
}

void PutWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutCry(std::vector<std::uint8_t>& bytes, const Release& release, int species,
            const CrySound& sound) {
  PutWord(bytes, static_cast<std::size_t>(release.cry_table.block0),
          kCartridgeAddress + kCryTableAt);
  PutWord(bytes, static_cast<std::size_t>(release.cry_table.block1),
          kCartridgeAddress + kCryTableAt);
  const std::size_t entry =
      kCryTableAt + kEntrySize * static_cast<std::size_t>((species - 1) % 128);
  bytes[entry] = 0;       // plain, forwards
  bytes[entry + 1] = 60;  // played at the wave's own rate
  PutWord(bytes, entry + 4, kCartridgeAddress + kCryWaveAt);
  PutWord(bytes, kCryWaveAt + 4, sound.rate * 1024);
  PutWord(bytes, kCryWaveAt + 12, static_cast<std::uint32_t>(sound.samples.size()));
  std::transform(sound.samples.begin(), sound.samples.end(),
                 bytes.begin() + static_cast<std::ptrdiff_t>(kCryWaveAt + kWaveHeaderSize),
                 [](std::int8_t sample) { return static_cast<std::uint8_t>(sample); });
}

}  // namespace vantrel::test
