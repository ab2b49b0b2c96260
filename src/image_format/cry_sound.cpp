#include "image_format/cry_sound.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string>

#include "image_format/species_numbers.h"
#include "runtime/hex.h"

namespace vantrel {
namespace {

constexpr std::int64_t kCriesPerBlock = 128;
constexpr std::int64_t kEntrySize = 12;
constexpr std::int64_t kWaveHeaderSize = 16;
constexpr std::uint8_t kCompressed = 0x20;
constexpr std::uint8_t kBackwards = 0x10;
constexpr int kOwnRateKey = 60;

// Compressed waves: blocks of 64 samples in 33 bytes, each sample after the
// first one step from this table away from the one before.
constexpr std::int64_t kBlockSamples = 64;
constexpr std::int64_t kBlockBytes = 33;
constexpr std::array<std::int8_t, 16> kSteps{0,   1,   4,   9,   16,  25, 36, 49,
                                             -64, -49, -36, -25, -16, -9, -4, -1};

// The last block stops after the byte holding its last sample.
std::int64_t CompressedSize(std::int64_t count) {
  const std::int64_t rest = count % kBlockSamples;
  const std::int64_t last = rest == 0 ? 0 : rest == 1 ? 1 : 2 + (rest - 1) / 2;
  return count / kBlockSamples * kBlockBytes + last;
}

std::vector<std::int8_t> Expand(std::span<const std::uint8_t> data, std::int64_t count) {
  std::vector<std::int8_t> samples;
  samples.reserve(static_cast<std::size_t>(count));
  for (std::int64_t start = 0; start < count; start += kBlockSamples) {
    const auto block = data.subspan(static_cast<std::size_t>(start / kBlockSamples * kBlockBytes));
    std::uint8_t sample = block[0];
    samples.push_back(static_cast<std::int8_t>(sample));
    // Sample 1 is byte 1's low nibble; then two a byte, high nibble first.
    for (std::int64_t i = 1; i < std::min(kBlockSamples, count - start); ++i) {
      const std::uint8_t byte = block[static_cast<std::size_t>(1 + i / 2)];
      sample += static_cast<std::uint8_t>(kSteps[i % 2 == 0 ? byte >> 4 : byte & 0xF]);
      samples.push_back(static_cast<std::int8_t>(sample));
    }
  }
  return samples;
}

class CryReader {
 public:
  explicit CryReader(ByteSource& file) : file_(file), size_(file.Size()) {}

  [[noreturn]] void Fail(const std::string& what) const { throw CryDataError(what); }

  // Reads all of `into` at `offset`, or fails naming `what` lies there.
  void ReadAll(std::int64_t offset, std::span<std::uint8_t> into, const std::string& what) {
    if (file_.Read(offset, into) < into.size()) {
      Fail(what + " at " + HexNumber(offset) + " lies past the end of the image");
    }
  }

  std::int64_t OffsetOf(std::uint32_t address, const std::string& what) const {
    if (address < kCartridgeAddress) {
      Fail(what + " (" + HexNumber(address) + ") is not a cartridge address");
    }
    return address - kCartridgeAddress;
  }

  std::int64_t Size() const { return size_; }

 private:
  ByteSource& file_;
  std::int64_t size_;
};

std::uint32_t PlayedRate(const CryReader& reader, std::uint32_t rate_field, int key,
                         const std::string& wave) {
  const double own = rate_field / 1024.0;
  const auto rate = std::llround(own * std::exp2((key - kOwnRateKey) / 12.0));
  if (rate < kMinCryRate || rate > kMaxCryRate) {
    reader.Fail(wave + " plays at " + std::to_string(rate) + " Hz (its own " +
                std::to_string(std::llround(own)) + " Hz at key " + std::to_string(key) + "); " +
                std::to_string(kMinCryRate) + " to " + std::to_string(kMaxCryRate) +
                " Hz can be played");
  }
  return static_cast<std::uint32_t>(rate);
}

}  // namespace

CrySound DecodeCry(ByteSource& file, const CryTableWords& table, int species) {
  if (species < 1 || species > kSpeciesCount) {
    throw std::out_of_range("no species " + std::to_string(species));
  }
  CryReader reader(file);
  const std::int64_t id = CryIdOf(species);

  // The cry call's words give ids 0 to 127 and 128 to 255; the table runs
  // on from the first word's address for the ids past them.
  const bool second_block = id >= kCriesPerBlock && id < 2 * kCriesPerBlock;
  const std::int64_t word_at = second_block ? table.block1 : table.block0;
  std::array<std::uint8_t, 4> word{};
  reader.ReadAll(word_at, word, "the cry table's address");
  const std::int64_t entry_at =
      reader.OffsetOf(WordAt(word, 0), "the cry table's address at " + HexNumber(word_at)) +
      kEntrySize * (second_block ? id - kCriesPerBlock : id);

  std::array<std::uint8_t, kEntrySize> entry{};
  reader.ReadAll(entry_at, entry, "its table entry");
  const std::uint8_t type = entry[0];
  const std::uint8_t key = entry[1];
  const std::int64_t wave_at = reader.OffsetOf(WordAt(entry, 4), "its wave address");
  const std::string wave = "its wave at " + HexNumber(wave_at);

  std::array<std::uint8_t, kWaveHeaderSize> header{};
  reader.ReadAll(wave_at, header, "its wave");
  const std::uint32_t count = WordAt(header, 12);
  if (count == 0) reader.Fail(wave + " has no samples");
  if (count > kMaxCrySamples) {
    reader.Fail(wave + " has " + std::to_string(count) + " samples; at most " +
                std::to_string(kMaxCrySamples) + " can be played");
  }
  CrySound sound{PlayedRate(reader, WordAt(header, 4), key, wave), {}};

  const bool compressed = (type & kCompressed) != 0;
  const std::int64_t data_at = wave_at + kWaveHeaderSize;
  const std::int64_t needed = compressed ? CompressedSize(count) : count;
  if (data_at + needed > reader.Size()) {
    reader.Fail(wave + " runs past the end of the image: " + std::to_string(needed) +
                " bytes of data, " +
                std::to_string(std::max<std::int64_t>(reader.Size() - data_at, 0)) + " there");
  }
  std::vector<std::uint8_t> data(static_cast<std::size_t>(needed));
  reader.ReadAll(data_at, data, "its wave's data");

  if (compressed) {
    sound.samples = Expand(data, count);
  } else {
    sound.samples.assign(data.begin(), data.end());
  }
  if ((type & kBackwards) != 0) std::reverse(sound.samples.begin(), sound.samples.end());
  return sound;
}

}  // namespace vantrel
