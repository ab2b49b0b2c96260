#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "image_format/cry_sound.h"
#include "support/temp_files.h"

namespace vantrel {
namespace {

// A synthetic image: filler, the two table words, block 0's table, block 1's
// elsewhere than 0x600 after it, and one wave that ends the image.
constexpr CryTableWords kWords{0x100, 0x104};
constexpr std::uint32_t kBase = kCartridgeAddress;
constexpr std::uint32_t kBlock0 = 0x200, kBlock1 = 0x1000, kWave = 0x2000;
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
  std::uint32_t table = kBase + kBlock0, wave = kBase + kWave;
  std::uint32_t rate_field = 0xA44000, stored_count = 0;  // 10512 Hz; 0: the count
  bool cut_short = false;
};

// Random samples, stored as the entry's type says: compressed, each block
// of 64 is its first sample and a walk of random steps, byte 1's high
// nibble set where no decoder may read it.
std::pair<std::vector<std::int8_t>, std::vector<std::uint8_t>> MakeWave(const Case& c) {
  static constexpr int kSteps[16] = {0,   1,   4,   9,   16,  25, 36, 49,
                                     -64, -49, -36, -25, -16, -9, -4, -1};
  std::mt19937 random(c.count);
  std::vector<std::int8_t> samples;
  std::vector<std::uint8_t> data;
  for (std::uint32_t start = 0; start < c.count; start += 64) {
    const std::uint32_t n = std::min(64u, c.count - start);
    std::vector<std::uint8_t> steps(n);
    auto value = static_cast<std::uint8_t>(random());
    samples.push_back(static_cast<std::int8_t>(value));
    for (std::uint32_t i = 1; i < n; ++i) {
      steps[i] = random() % 16;
      value = static_cast<std::uint8_t>(value + kSteps[steps[i]]);
      samples.push_back(static_cast<std::int8_t>(value));
    }
    data.push_back(static_cast<std::uint8_t>(samples[start]));
    if (n > 1) data.push_back(0xA0 | steps[1]);
    for (std::uint32_t i = 2; i < n; i += 2) {
      data.push_back(static_cast<std::uint8_t>(steps[i] << 4 | (i + 1 < n ? steps[i + 1] : 0)));
    }
  }
  if (!(c.type & 0x20)) data.assign(samples.begin(), samples.end());
  return {samples, data};
}

std::vector<std::uint8_t> Image(const Case& c, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> image(kWave + 16 + data.size() - c.cut_short);
  std::mt19937 filler(7);
  std::generate(image.begin(), image.end(), [&] { return static_cast<std::uint8_t>(filler()); });
  test::PutWord(image, kWords.block0, c.table);
  test::PutWord(image, kWords.block1, kBase + kBlock1);
  const std::size_t entry = (c.species > 128 ? kBlock1 : kBlock0) + 12 * ((c.species - 1) % 128);
  image[entry] = c.type;
  image[entry + 1] = c.key;
  test::PutWord(image, entry + 4, c.wave);
  test::PutWord(image, kWave + 4, c.rate_field);
  test::PutWord(image, kWave + 12, c.stored_count ? c.stored_count : c.count);
  std::copy(data.begin(), data.end() - c.cut_short, image.begin() + kWave + 16);
  return image;
}

const Case kCases[] = {
    {.name = "plain", .type = 0x00, .count = 300},
    {.name = "compressed, short last block", .count = 64 + 38},
    {.name = "one sample in the last block", .count = 64 + 1},
    {.name = "backwards", .type = 0x30},
    {.name = "key an octave up", .key = 72, .rate = 21024},
    {.name = "block 1", .species = 203},
    {.name = "table past the end",
     .error = "its table entry at 0x1000120 lies past the end of the image",
     .table = kPastTheEnd},
    {.name = "wave past the end",
     .species = 203,
     .error = "its wave at 0x1000000 lies past the end of the image",
     .wave = kPastTheEnd},
    {.name = "absurd count",
     .error = "its wave at 0x2000 has 2147483647 samples; at most 1048576 can be "
              "played",
     .stored_count = 0x7FFFFFFF},
    {.name = "key past the top rate",
     .key = 96,
     .error = "its wave at 0x2000 plays at 84096 Hz (its own 10512 Hz at key 96); "
              "1000 to 65535 Hz can be played"},
    {.name = "compressed data cut short",
     .count = 64 + 38,
     .error = "its wave at 0x2000 runs past the end of the image: 53 bytes of "
              "data, 52 there",
     .cut_short = true},
};

TEST(CrySound, DecodesEachLayoutAndNamesEachFault) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    auto [expected, data] = MakeWave(c);
    const std::vector<std::uint8_t> image = Image(c, data);
    MemoryBytes file(image);
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

}  // namespace
}  // namespace vantrel
