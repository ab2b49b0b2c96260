#include "sound/wav.h"

#include <string_view>

#include "sound/unsigned_sample.h"

namespace vantrel {
namespace {

constexpr std::uint16_t kPcm = 1;
constexpr std::uint32_t kFormatSize = 16;
constexpr std::uint32_t kHeaderSize = 44;

// Fills a buffer sized up front, little-endian.
class Writer {
 public:
  explicit Writer(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

  void Tag(std::string_view tag) {
    for (const char c : tag) bytes_[at_++] = static_cast<std::uint8_t>(c);
  }
  void Put(std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes_[at_++] = static_cast<std::uint8_t>(value >> (8 * i));
  }

 private:
  std::vector<std::uint8_t>& bytes_;
  std::size_t at_ = 0;
};

}  // namespace

std::vector<std::uint8_t> WavBytes(const CrySound& sound) {
  // At most kMaxCrySamples, so every size fits its 32-bit field.
  const auto count = static_cast<std::uint32_t>(sound.samples.size());
  // RIFF chunks start on even offsets: an odd data chunk gets a pad byte.
  const std::uint32_t pad = count % 2;
  std::vector<std::uint8_t> bytes(kHeaderSize + count + pad);
  Writer out(bytes);
  out.Tag("RIFF");
  out.Put(kHeaderSize - 8 + count + pad, 4);
  out.Tag("WAVE");
  out.Tag("fmt ");
  out.Put(kFormatSize, 4);
  out.Put(kPcm, 2);
  out.Put(1, 2);  // channels
  out.Put(sound.rate, 4);
  out.Put(sound.rate, 4);  // bytes a second: one byte a sample
  out.Put(1, 2);           // bytes a frame
  out.Put(8, 2);           // bits a sample
  out.Tag("data");
  out.Put(count, 4);
  for (const std::int8_t sample : sound.samples) out.Put(UnsignedSample(sample), 1);
  return bytes;
}

}  // namespace vantrel
