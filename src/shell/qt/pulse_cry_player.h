#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "api/vantrel.h"

struct pa_simple;

namespace vantrel::qt {

// Plays cries through PulseAudio's simple interface, which PipeWire
// desktops serve as well. It connects at each Play, never before: a window
// that plays nothing never reaches for the sound server. A worker thread
// writes the cry in chunks of 10 ms and looks for a newer cry between
// them, so that a new Play stops the old cry at once.
class PulseCryPlayer : public CryPlayer {
 public:
  PulseCryPlayer() = default;
  // Stops the cry playing, if any, and the worker.
  ~PulseCryPlayer() override;
  PulseCryPlayer(const PulseCryPlayer&) = delete;
  PulseCryPlayer& operator=(const PulseCryPlayer&) = delete;

  // Connects on the calling thread, so that a server that cannot be reached
  // is reported here, and hands the cry to the worker.
  void Play(const CrySound& sound) override;

 private:
  struct Disconnect {
    void operator()(pa_simple* stream) const;
  };
  struct Cry {
    std::unique_ptr<pa_simple, Disconnect> stream;
    std::uint32_t rate;
    std::vector<std::uint8_t> frames;  // unsigned 8-bit, as the stream takes them
  };

  static Cry Connect(const CrySound& sound);
  void Run();
  void PlayOut(Cry& cry);
  // Whether a newer cry or the player's end is waiting.
  bool Interrupted();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Cry> next_;
  bool ending_ = false;
  // Started at the first Play.
  std::thread worker_;
};

}  // namespace vantrel::qt
