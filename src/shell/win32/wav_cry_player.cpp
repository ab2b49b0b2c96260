#include "shell/win32/wav_cry_player.h"

#include <windows.h>
// PlaySound and the wave devices; these need the types windows.h declares.
#include <mmsystem.h>

#include "api/vantrel.h"

namespace vantrel::win32 {

WavCryPlayer::~WavCryPlayer() {
  PlaySoundW(nullptr, nullptr, 0);
}

void WavCryPlayer::Play(const CrySound& sound) {
  // PlaySound answers even without a device and then plays nothing.
  if (waveOutGetNumDevs() == 0) throw NoSoundError("Windows has no sound output device");
  PlaySoundW(nullptr, nullptr, 0);
  wav_ = WavBytes(sound);
  if (!PlaySoundW(reinterpret_cast<LPCWSTR>(wav_.data()), nullptr,
                  SND_MEMORY | SND_ASYNC | SND_NODEFAULT)) {
    wav_.clear();
    throw NoSoundError("Windows could not play it");
  }
}

}  // namespace vantrel::win32
