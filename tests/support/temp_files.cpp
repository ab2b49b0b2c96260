#include "support/temp_files.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>

#include "cry/species_list.h"
#include "image_format/releases.h"
#include "image_format/species_numbers.h"
#include "runtime/path_text.h"

namespace vantrel::test {

TempDir::TempDir() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate =
        fs::temp_directory_path() / ("vantrel-test-" + std::to_string(random() % 1000000000));
    if (fs::create_directory(candidate)) {
      fs::permissions(candidate, fs::perms::owner_all | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read |
                                     fs::perms::others_exec);
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot make a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Restore permissions first so that read-only files can be removed.
  for (auto it = fs::recursive_directory_iterator(path_, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    if (!it->is_symlink(ignored)) fs::permissions(it->path(), fs::perms::owner_all, ignored);
  }
  fs::remove_all(path_, ignored);
}

fs::path TempDir::operator/(std::string_view name) const {
  return path_ / PathFromUtf8(name);
}

namespace {

// A pattern that differs from byte to byte, so that a write to any wrong
// offset shows.
std::vector<std::uint8_t> Pattern(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 31 + 7);
  return bytes;
}

void PutHeader(std::vector<std::uint8_t>& bytes, std::string_view game_code,
               std::uint8_t software_version) {
  const auto put = [&](std::size_t offset, std::string_view field) {
    std::copy(field.begin(), field.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
  };
  put(0xA0, "VANTREL TEST");
  put(0xAC, game_code);
  put(0xB0, "01");
  bytes[0xB2] = 0x96;
  bytes[0xBC] = software_version;
  unsigned sum = 0;
  for (std::size_t i = 0xA0; i < 0xBD; ++i) sum += bytes[i];
  bytes[0xBD] = static_cast<std::uint8_t>(0u - (0x19u + sum));
}

// `code`'s fixed parts, with what it is found for at `place`.
void PutCode(std::vector<std::uint8_t>& bytes, const Code& code, std::size_t place) {
  for (const CodePart& part : code.parts) {
    std::ranges::copy(part.bytes,
                      bytes.begin() + static_cast<std::ptrdiff_t>(place - code.found + part.at));
  }
}

}  // namespace

void PutTitleScreenCode(std::vector<std::uint8_t>& bytes, std::size_t cry_byte, int value,
                        TitleScreenForm form) {
  PutCode(bytes, CodeOf(form), cry_byte);
  const auto window = TitleWindowOf(form, value);
  std::copy(window.begin(), window.end(),
            bytes.begin() + static_cast<std::ptrdiff_t>(cry_byte) - kTitleWindowBeforeCryByte);
}

void PutWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutCry(std::vector<std::uint8_t>& bytes, std::int64_t first_word, int species,
            const CrySound& sound) {
  // The second block stands apart, so that an id read from the wrong word
  // shows: the game's cry call reads ids 128 to 255 through the second word
  // and all others through the first.
  constexpr std::uint32_t kTable = 0x60000;
  constexpr std::uint32_t kSecondBlock = 0x64000;
  constexpr std::uint32_t kWave = 0x62000;
  constexpr std::uint32_t kCartridge = 0x08000000;
  const CryTableWords words = CryTableWordsFrom(first_word);
  PutCode(bytes, kCryCallCode, static_cast<std::size_t>(first_word));
  PutWord(bytes, static_cast<std::size_t>(words.block0), kCartridge + kTable);
  PutWord(bytes, static_cast<std::size_t>(words.block1), kCartridge + kSecondBlock);
  const auto id = static_cast<std::size_t>(CryIdOf(species));
  const std::size_t entry =
      id >= 128 && id < 256 ? kSecondBlock + 12 * (id - 128) : kTable + 12 * id;
  bytes[entry] = 0;       // plain, forwards
  bytes[entry + 1] = 60;  // at the wave's own rate
  PutWord(bytes, entry + 4, kCartridge + kWave);
  PutWord(bytes, kWave + 4, sound.rate * 1024);
  PutWord(bytes, kWave + 12, static_cast<std::uint32_t>(sound.samples.size()));
  std::copy(sound.samples.begin(), sound.samples.end(), bytes.begin() + kWave + 16);
}

namespace {

// Spelled out here, not taken from the code under test.
std::vector<std::uint8_t> GameText(std::string_view name) {
  static const std::pair<std::string_view, std::uint8_t> kSigns[] = {
      {" ", 0x00}, {".", 0xAD}, {"-", 0xAE}, {"?", 0xAC}, {"’", 0xB4}, {"♀", 0xB6},
      {"♂", 0xB5}, {"È", 0x05}, {"É", 0x06}, {"è", 0x1A}, {"é", 0x1B}};
  std::vector<std::uint8_t> text;
  while (!name.empty()) {
    const char c = name.front();
    std::size_t used = 1;
    if (c >= 'A' && c <= 'Z') {
      text.push_back(static_cast<std::uint8_t>(0xBB + (c - 'A')));
    } else if (c >= 'a' && c <= 'z') {
      text.push_back(static_cast<std::uint8_t>(0xD5 + (c - 'a')));
    } else if (c >= '0' && c <= '9') {
      text.push_back(static_cast<std::uint8_t>(0xA1 + (c - '0')));
    } else {
      const auto sign = std::find_if(std::begin(kSigns), std::end(kSigns),
                                     [&](const auto& one) { return name.starts_with(one.first); });
      if (sign == std::end(kSigns))
        throw std::runtime_error("no game text for " + std::string(name));
      text.push_back(sign->second);
      used = sign->first.size();
    }
    name.remove_prefix(used);
  }
  return text;
}

}  // namespace

void PutNames(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t language,
              const std::vector<std::string>& names) {
  PutWord(bytes, 0x104, language);
  PutWord(bytes, 0x144, 0x08000000 + static_cast<std::uint32_t>(at));
  for (std::size_t species = 0; species < names.size(); ++species) {
    std::vector<std::uint8_t> entry = GameText(names[species]);
    entry.resize(11, 0xFF);
    std::copy(entry.begin(), entry.end(),
              bytes.begin() + static_cast<std::ptrdiff_t>(at + 11 * species));
  }
}

std::vector<std::string> EnglishNames() {
  std::vector<std::string> names(412, "?");
  names[0] = "??????????";
  for (int species = 1; species <= kSpeciesCount; ++species) {
    std::string name;
    for (const char c : SentenceName(SpeciesList()[static_cast<std::size_t>(species - 1)])) {
      name += c == '\''
                  ? std::string("’")
                  : std::string(1, c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    }
    for (const auto& [written, sign] : {std::pair{"-F", "♀"}, {"-M", "♂"}}) {
      if (name.ends_with(written)) name.replace(name.size() - 2, 2, sign);
    }
    names[static_cast<std::size_t>(InternalNumberOf(species))] = name;
  }
  return names;
}

std::vector<std::uint8_t> ImageBytes(std::size_t size, std::uint8_t cry) {
  std::vector<std::uint8_t> bytes = Pattern(size);
  if (size > kFirstEnglishPlaces.cry_byte) bytes[kFirstEnglishPlaces.cry_byte] = cry;
  if (size >= kFirstEnglishPlaces.cry_byte + kTitleCodeSize - kTitleCryByteAt)
    PutTitleScreenCode(bytes, kFirstEnglishPlaces.cry_byte, cry);
  if (size >= 0xBE) PutHeader(bytes, "BPRE", 0);
  return bytes;
}

std::vector<std::uint8_t> ReleaseImageBytes(const Release& release, std::uint8_t cry) {
  std::vector<std::uint8_t> bytes = Pattern(kImageSize);
  // In the later releases the first releases' cry byte is part of a branch.
  if (release.cry_byte != kFirstEnglishPlaces.cry_byte) bytes[kFirstEnglishPlaces.cry_byte] = 0x35;
  PutTitleScreenCode(bytes, static_cast<std::size_t>(release.cry_byte), cry);
  PutHeader(bytes, release.game_code, release.software_version);
  return bytes;
}

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

// In one read: the tests compare images of 33 MiB, which a byte at a time
// takes minutes to read under the sanitizers.
std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) throw std::runtime_error("cannot read " + path.string());
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.tellg()));
  file.seekg(0);
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot read " + path.string());
  return bytes;
}

fs::path MakeImage(const fs::path& path, std::size_t size, std::uint8_t cry) {
  WriteBytes(path, ImageBytes(size, cry));
  return path;
}

void MakeReadOnly(const fs::path& path) {
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

void MakeInaccessible(const fs::path& path) {
  fs::permissions(path, fs::perms::none);
}

}  // namespace vantrel::test
