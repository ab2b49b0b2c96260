#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/temp_files.h"

namespace vantrel::qt::test {

// A PulseAudio server of the test's own, in a fresh folder, with one sink
// that plays into nothing and a monitor that records what it played. Started
// by the constructor, which waits until it answers; stopped with everything
// it started by the destructor.
class PrivateSoundServer {
 public:
  static constexpr int kRecordingRate = 44100;

  PrivateSoundServer();
  ~PrivateSoundServer();
  PrivateSoundServer(const PrivateSoundServer&) = delete;
  PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

  // Whether it answered; when not, Failure() says why.
  bool Running() const { return running_; }
  std::string Failure() const;
  // What PULSE_SERVER names it by.
  std::string Address() const;

  // Records what the sink plays, mono 16-bit at kRecordingRate, from once
  // the recording has begun until it is stopped.
  void StartRecording();
  std::vector<std::int16_t> StopRecording();

 private:
  vantrel::test::TempDir dir_;
  pid_t server_ = -1;
  pid_t recorder_ = -1;
  bool running_ = false;
};

}  // namespace vantrel::qt::test
