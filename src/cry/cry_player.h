#pragma once

#include <stdexcept>

#include "image_format/cry_sound.h"

namespace vantrel {

// No sound can be played: no sound device, no sound server, or one that
// refuses. The text says what the system answered.
class NoSoundError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The window's sound output; each front end has its own.
class CryPlayer {
 public:
  virtual ~CryPlayer() = default;
  // Starts `sound` and returns without waiting for it; a cry still playing
  // stops at once. Raises NoSoundError when nothing can be played.
  virtual void Play(const CrySound& sound) = 0;
};

}  // namespace vantrel
