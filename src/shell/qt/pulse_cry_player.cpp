#include "shell/qt/pulse_cry_player.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "api/vantrel.h"

namespace vantrel::qt {
namespace {

// A rate every sound server and device takes, for a server that refuses
// the cry's own.
constexpr std::uint32_t kCommonRate = 48000;
constexpr std::uint32_t kChunksPerSecond = 100;
// The server holds this many chunks ahead: enough not to run dry while
// the player's thread waits 100 ms (a disk busy writing back stalls it that
// long), and a stop drops no more than that.
constexpr std::uint32_t kChunksAhead = 10;

std::size_t ChunkBytes(std::uint32_t rate) {
  return std::max<std::size_t>(rate / kChunksPerSecond, 1);
}

std::vector<std::uint8_t> UnsignedFrames(const std::vector<std::int8_t>& samples) {
  std::vector<std::uint8_t> frames(samples.size());
  std::transform(samples.begin(), samples.end(), frames.begin(), UnsignedSample);
  return frames;
}

// Playing starts once the server holds all it holds ahead, or the whole of a
// shorter cry: a stream that starts sooner runs dry at once, and the server
// skips what comes late.
pa_simple* OpenStream(std::uint32_t rate, std::size_t frames, int* error) {
  const pa_sample_spec format{PA_SAMPLE_U8, rate, 1};
  const auto chunk = static_cast<std::uint32_t>(ChunkBytes(rate));
  const std::uint32_t ahead = kChunksAhead * chunk;
  const pa_buffer_attr buffer{static_cast<std::uint32_t>(-1), ahead,
                              static_cast<std::uint32_t>(std::min<std::size_t>(ahead, frames)),
                              chunk, static_cast<std::uint32_t>(-1)};
  return pa_simple_new(nullptr, "Vantrel", PA_STREAM_PLAYBACK, nullptr, "Cry", &format, nullptr,
                       &buffer, error);
}

}  // namespace

void PulseCryPlayer::Disconnect::operator()(pa_simple* stream) const {
  pa_simple_free(stream);
}

PulseCryPlayer::Cry PulseCryPlayer::Connect(const CrySound& sound) {
  int error = 0;
  Cry cry{nullptr, sound.rate, UnsignedFrames(sound.samples)};
  cry.stream.reset(OpenStream(cry.rate, cry.frames.size(), &error));
  if (!cry.stream && (error == PA_ERR_INVALID || error == PA_ERR_NOTSUPPORTED)) {
    cry.rate = kCommonRate;
    cry.frames = UnsignedFrames(Resampled(sound, kCommonRate).samples);
    cry.stream.reset(OpenStream(cry.rate, cry.frames.size(), &error));
  }
  if (!cry.stream) {
    const bool unreached = error == PA_ERR_CONNECTIONREFUSED || error == PA_ERR_INVALIDSERVER ||
                           error == PA_ERR_TIMEOUT || error == PA_ERR_CONNECTIONTERMINATED;
    throw NoSoundError(
        std::string(unreached ? "no sound server answered" : "the sound server refused it") +
        " (PulseAudio: " + pa_strerror(error) + ")");
  }
  return cry;
}

PulseCryPlayer::~PulseCryPlayer() {
  {
    const std::lock_guard lock(mutex_);
    ending_ = true;
  }
  wake_.notify_one();
  if (worker_.joinable()) worker_.join();
}

void PulseCryPlayer::Play(const CrySound& sound) {
  Cry cry = Connect(sound);
  {
    const std::lock_guard lock(mutex_);
    // A cry handed over before and not yet begun is dropped here.
    next_ = std::move(cry);
  }
  wake_.notify_one();
  if (!worker_.joinable()) worker_ = std::thread(&PulseCryPlayer::Run, this);
}

void PulseCryPlayer::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return next_ || ending_; });
    if (ending_) return;
    Cry cry = std::move(*next_);
    next_.reset();
    lock.unlock();
    PlayOut(cry);
    lock.lock();
  }
}

void PulseCryPlayer::PlayOut(Cry& cry) {
  pa_simple* stream = cry.stream.get();
  int error = 0;
  const std::size_t chunk = ChunkBytes(cry.rate);
  for (std::size_t at = 0; at < cry.frames.size(); at += chunk) {
    if (Interrupted()) {
      pa_simple_flush(stream, &error);
      return;
    }
    // A server gone away ends the cry.
    if (pa_simple_write(stream, cry.frames.data() + at, std::min(chunk, cry.frames.size() - at),
                        &error) < 0) {
      return;
    }
  }
  // The stream is closed only once its last sample has sounded; closing it
  // earlier would cut the cry short.
  for (;;) {
    if (Interrupted()) {
      pa_simple_flush(stream, &error);
      return;
    }
    const pa_usec_t left = pa_simple_get_latency(stream, &error);
    if (left == 0 || left == static_cast<pa_usec_t>(-1)) return;
    std::this_thread::sleep_for(std::min(std::chrono::microseconds(left),
                                         std::chrono::microseconds(1'000'000 / kChunksPerSecond)));
  }
}

bool PulseCryPlayer::Interrupted() {
  const std::lock_guard lock(mutex_);
  return next_.has_value() || ending_;
}

}  // namespace vantrel::qt
