#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cry/cry_player.h"

namespace vantrel::test {

// Keeps every cry handed to it instead of playing it, or refuses each as a
// machine without sound would.
class RecordingPlayer : public CryPlayer {
 public:
  void Play(const CrySound& sound) override {
    if (refusal) throw NoSoundError(*refusal);
    played.push_back(sound);
  }

  std::vector<CrySound> played;
  // Set: Play raises NoSoundError with this text.
  std::optional<std::string> refusal;
};

}  // namespace vantrel::test
