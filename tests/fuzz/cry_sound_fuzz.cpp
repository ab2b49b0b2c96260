// The cry decoder on any image. The input is the image; its first byte picks
// the species and its next two 16-bit words are the offsets of the table's
// words, so the fuzzer can aim the table, entry and wave anywhere in it.
// Whatever the bytes, a bad cry is a CryDataError, and a cry that decodes is
// playable and no longer than the image's bytes can hold.
#include "api/vantrel.h"
#include "fuzz_support.h"

namespace {

using vantrel::fuzz::Check;

std::int64_t Offset(const std::uint8_t* data) {
  return data[0] | data[1] << 8;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const int species = data[0] % static_cast<int>(vantrel::kSpeciesCount) + 1;
  const vantrel::CryTableWords words{Offset(data + 1), Offset(data + 3)};

  const auto image = vantrel::fuzz::Sandbox() / "image";
  vantrel::fuzz::WriteFile(image, vantrel::fuzz::Text(data, size));
  auto file = vantrel::BinaryFile::Open(image, vantrel::BinaryFile::Access::kRead);
  vantrel::CrySound sound;
  try {
    sound = vantrel::DecodeCry(file, words, species);
  } catch (const vantrel::CryDataError&) {
    return 0;
  }

  Check(sound.rate >= vantrel::kMinCryRate && sound.rate <= vantrel::kMaxCryRate,
        "a cry plays at a rate a player takes");
  Check(!sound.samples.empty() && sound.samples.size() <= vantrel::kMaxCrySamples,
        "a cry has samples, and not too many");
  // Compressed, 33 bytes hold 64 samples: never more than two a byte.
  Check(sound.samples.size() <= 2 * size, "every sample comes from the image");
  const std::size_t wav_size = vantrel::WavBytes(sound).size();
  Check(wav_size == 44 + sound.samples.size() + sound.samples.size() % 2,
        "the WAV holds the header and every sample, padded to an even size");
  return 0;
}
