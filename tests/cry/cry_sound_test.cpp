#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "cry/cry_sound.h"
#include "cry/wav.h"
#include "support/temp_files.h"

namespace vantrel {
namespace {

// A synthetic image: filler, the two table words, block 0's table, block 1's
// elsewhere than 0x600 after it, and one wave that ends the image.
constexpr CryTableWords kWords{0x100, 0x104};
constexpr std::uint32_t kBase = 0x08000000;
constexpr std::uint32_t kBlock0 = 0x200;
constexpr std::uint32_t kBlock1 = 0x1000;
constexpr std::uint32_t kWave = 0x2000;
constexpr std::uint32_t kPastTheEnd = kBase + 0x1000000;

struct Case {
  const char* name;
  int species = 25;
  std::uint8_t type = 0x20;  // 0x20 compressed, 0x10 backwards
  std::uint8_t key = 60;
  std::uint32_t count = 100;
  std::uint32_t rate = 10512;  // Hz, as decoded
  const char* error = "";      // the message, when it does not decode
  // What the image holds instead, for the bad ones.
  std::uint32_t table = kBase + kBlock0;
  std::uint32_t wave = kBase + kWave;
  std::uint32_t rate_field = 0xA44000;  // 10512 Hz
  std::uint32_t stored_count = 0;       // 0: the count
  bool cut_short = false;
};

void Put32(std::vector<std::uint8_t>& image, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) image[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

struct Wave {
  std::vector<std::int8_t> samples;  // in stored order
  std::vector<std::uint8_t> data;
};

// Random samples stored as the entry's type says: compressed, each block of
// 64 is a random first sample and a walk of random steps.
Wave MakeWave(const Case& c) {
  static constexpr int kSteps[16] = {0,   1,   4,   9,   16,  25, 36, 49,
                                     -64, -49, -36, -25, -16, -9, -4, -1};
  std::mt19937 random(c.count);
  Wave wave;
  for (std::uint32_t start = 0; start < c.count; start += 64) {
    const std::uint32_t n = std::min(64u, c.count - start);
    std::vector<std::uint8_t> steps(n);
    auto value = static_cast<std::uint8_t>(random());
    wave.samples.push_back(static_cast<std::int8_t>(value));
    for (std::uint32_t i = 1; i < n; ++i) {
      steps[i] = random() % 16;
      value = static_cast<std::uint8_t>(value + kSteps[steps[i]]);
      wave.samples.push_back(static_cast<std::int8_t>(value));
    }
    wave.data.push_back(static_cast<std::uint8_t>(wave.samples[start]));
    if (n > 1) wave.data.push_back(0xA0 | steps[1]);  // the high nibble is never read
    for (std::uint32_t i = 2; i < n; i += 2) {
      wave.data.push_back(
          static_cast<std::uint8_t>(steps[i] << 4 | (i + 1 < n ? steps[i + 1] : 0)));
    }
  }
  if (!(c.type & 0x20)) wave.data.assign(wave.samples.begin(), wave.samples.end());
  return wave;
}

std::vector<std::uint8_t> Image(const Case& c, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> image(kWave + 16 + data.size() - c.cut_short);
  std::mt19937 filler(7);
  std::generate(image.begin(), image.end(), [&] { return static_cast<std::uint8_t>(filler()); });
  Put32(image, kWords.block0, c.table);
  Put32(image, kWords.block1, kBase + kBlock1);
  const std::size_t entry = (c.species > 128 ? kBlock1 : kBlock0) + 12 * ((c.species - 1) % 128);
  image[entry] = c.type;
  image[entry + 1] = c.key;
  Put32(image, entry + 4, c.wave);
  Put32(image, kWave + 4, c.rate_field);
  Put32(image, kWave + 12, c.stored_count ? c.stored_count : c.count);
  std::copy(data.begin(), data.end() - c.cut_short, image.begin() + kWave + 16);
  return image;
}

const Case kCases[] = {
    {.name = "plain", .type = 0x00, .count = 300},
    {.name = "compressed", .count = 128},
    {.name = "compressed, short last block", .count = 64 + 38},
    {.name = "one sample in the last block", .count = 64 + 1},
    {.name = "backwards", .type = 0x30},
    {.name = "key an octave up", .key = 72, .rate = 21024},
    {.name = "block 1", .species = 203},
    {.name = "table past the end",
     .error = "Pikachu's cry: its table entry at 0x1000120 lies past the end of the image",
     .table = kPastTheEnd},
    {.name = "wave in work RAM",
     .error = "Pikachu's cry: its wave address (0x2000000) is not a cartridge address",
     .wave = 0x02000000},
    {.name = "wave past the end",
     .species = 203,
     .error = "Girafarig's cry: its wave at 0x1000000 lies past the end of the image",
     .wave = kPastTheEnd},
    {.name = "absurd count",
     .error = "Pikachu's cry: its wave at 0x2000 has 2147483647 samples; at most 1048576 can be "
              "played",
     .stored_count = 0x7FFFFFFF},
    {.name = "absurd rate",
     .error = "Pikachu's cry: its wave at 0x2000 plays at 4194304 Hz (its own 4194304 Hz at key "
              "60); 1000 to 65535 Hz can be played",
     .rate_field = 0xFFFFFFFF},
    {.name = "key past the top rate",
     .key = 96,
     .error = "Pikachu's cry: its wave at 0x2000 plays at 84096 Hz (its own 10512 Hz at key 96); "
              "1000 to 65535 Hz can be played"},
    {.name = "compressed data cut short",
     .count = 64 + 38,
     .error = "Pikachu's cry: its wave at 0x2000 runs past the end of the image: 53 bytes of "
              "data, 52 there",
     .cut_short = true},
};

TEST(CrySound, DecodesEachLayoutAndNamesEachFault) {
  test::TempDir dir;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const Wave wave = MakeWave(c);
    test::WriteBytes(dir / "image.gba", Image(c, wave.data));
    BinaryFile file = BinaryFile::Open(dir / "image.gba", BinaryFile::Access::kRead);
    std::vector<std::int8_t> expected = wave.samples;
    if (c.type & 0x10) std::reverse(expected.begin(), expected.end());
    try {
      const CrySound sound = DecodeCry(file, kWords, c.species);
      EXPECT_EQ(c.error, std::string()) << "decoded a bad cry";
      EXPECT_EQ(sound.rate, c.rate);
      EXPECT_EQ(sound.samples, expected);
    } catch (const CryDataError& error) {
      EXPECT_EQ(error.what(), std::string(c.error));
    }
  }
}

TEST(Wav, HeaderDescribesUnsignedMonoBytesAtTheCryRate) {
  const std::vector<std::uint8_t> wav = WavBytes({22050, {-128, -1, 0, 127, 5}});
  const std::vector<std::uint8_t> expected = {
      'R',  'I',  'F', 'F', 42,   0,    0, 0, 'W', 'A', 'V', 'E',  // the size after the size field
      'f',  'm',  't', ' ', 16,   0,    0, 0, 1,   0,   1,   0,    // PCM, mono
      0x22, 0x56, 0,   0,   0x22, 0x56, 0, 0,                      // rate, bytes a second
      1,    0,    8,   0,                                          // bytes a frame, bits a sample
      'd',  'a',  't', 'a', 5,    0,    0, 0,                      // samples
      0,    127,  128, 255, 133,                                   // unsigned
      0};                                                          // a pad byte to an even size
  EXPECT_EQ(wav, expected);
}

}  // namespace
}  // namespace vantrel
