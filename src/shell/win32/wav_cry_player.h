#pragma once

#include <cstdint>
#include <vector>

#include "api/vantrel.h"

namespace vantrel::win32 {

// Plays cries as WAV files in memory through the system's PlaySound, which
// returns at once and stops the sound it played before. The WAV stays in
// the player while the system reads it: until the next Play, or the
// player's end, each of which stops it first.
class WavCryPlayer : public CryPlayer {
 public:
  WavCryPlayer() = default;
  ~WavCryPlayer() override;
  WavCryPlayer(const WavCryPlayer&) = delete;
  WavCryPlayer& operator=(const WavCryPlayer&) = delete;

  void Play(const CrySound& sound) override;

 private:
  std::vector<std::uint8_t> wav_;
};

}  // namespace vantrel::win32
