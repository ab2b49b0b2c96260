#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace vantrel {

// Where the cartridge lies in the game's address space: file offset 0.
inline constexpr std::uint32_t kCartridgeAddress = 0x08000000;

// A word of the cartridge as the processor reads it: 4 bytes, little-endian.
constexpr std::uint32_t WordAt(std::span<const std::uint8_t> bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// The file offsets of the two words in the game's code that hold the cry
// table's address (as a cartridge address): one for cry ids 0 to 127, one
// for 128 to 255.
struct CryTableWords {
  std::int64_t block0;
  std::int64_t block1;
};

// The cry each game's title screen plays as it comes: LeafGreen's, for a game
// code that starts so, else FireRed's.
inline constexpr std::uint8_t kFireRedStockCry = 6;    // Charizard
inline constexpr std::uint8_t kLeafGreenStockCry = 3;  // Venusaur
inline constexpr std::string_view kLeafGreenGameCodes = "BPG";

constexpr std::uint8_t StockCryOf(std::string_view game_code) {
  return game_code.starts_with(kLeafGreenGameCodes) ? kLeafGreenStockCry : kFireRedStockCry;
}

// Where a build's code keeps the cry byte and the first of the cry call's
// two words (CryTableWordsFrom gives both). FireRed and LeafGreen of one
// language and version keep them at the same places.
struct CodePlaces {
  std::int64_t cry_byte;
  std::int64_t cry_table_word;
};
inline constexpr CodePlaces kFirstEnglishPlaces{0x791EE, 0x72114};   // 1.0
inline constexpr CodePlaces kSecondEnglishPlaces{0x79202, 0x72128};  // 1.1
inline constexpr CodePlaces kFrenchPlaces{0x79212, 0x72138};
inline constexpr CodePlaces kGermanPlaces{0x79152, 0x72078};
inline constexpr CodePlaces kSpanishPlaces{0x79226, 0x7214C};
inline constexpr CodePlaces kItalianPlaces{0x7913E, 0x72064};

// A release whose code is known, as its header names it: by its game code
// and software version.
struct Release {
  std::string_view name;
  std::string_view game_code;
  std::uint8_t software_version;
  std::int64_t cry_byte;
  std::int64_t cry_table_word;
};

constexpr Release ReleaseOf(std::string_view name, std::string_view game_code,
                            std::uint8_t software_version, CodePlaces places) {
  return {name, game_code, software_version, places.cry_byte, places.cry_table_word};
}

inline constexpr std::array<Release, 12> kReleases{{
    ReleaseOf("FireRed 1.0", "BPRE", 0, kFirstEnglishPlaces),
    ReleaseOf("FireRed 1.1", "BPRE", 1, kSecondEnglishPlaces),
    ReleaseOf("LeafGreen 1.0", "BPGE", 0, kFirstEnglishPlaces),
    ReleaseOf("LeafGreen 1.1", "BPGE", 1, kSecondEnglishPlaces),
    ReleaseOf("FireRed (French)", "BPRF", 0, kFrenchPlaces),
    ReleaseOf("LeafGreen (French)", "BPGF", 0, kFrenchPlaces),
    ReleaseOf("FireRed (German)", "BPRD", 0, kGermanPlaces),
    ReleaseOf("LeafGreen (German)", "BPGD", 0, kGermanPlaces),
    ReleaseOf("FireRed (Spanish)", "BPRS", 0, kSpanishPlaces),
    ReleaseOf("LeafGreen (Spanish)", "BPGS", 0, kSpanishPlaces),
    ReleaseOf("FireRed (Italian)", "BPRI", 0, kItalianPlaces),
    ReleaseOf("LeafGreen (Italian)", "BPGI", 0, kItalianPlaces),
}};

// Code found by its bytes: fixed parts at their places in it, and anything
// between them (a species, a word of data).
struct CodePart {
  std::size_t at;
  std::span<const std::uint8_t> bytes;
};
struct Code {
  std::span<const CodePart> parts;
  std::size_t size;
  // Where in the code lies what it is found for: the cry byte, or the first
  // word of the cry table's address.
  std::size_t found;
};

// Whether `bytes` begin with `code`.
constexpr bool Matches(const Code& code, std::span<const std::uint8_t> bytes) {
  if (bytes.size() < code.size) return false;
  for (const CodePart& part : code.parts) {
    for (std::size_t i = 0; i < part.bytes.size(); ++i) {
      if (bytes[part.at + i] != part.bytes[i]) return false;
    }
  }
  return true;
}

// The cry call's code around the words that hold the cry table's address,
// the same in every release: the 12 bytes before the first word, the 16
// after it, a word of another table (any value), and the 12 bytes before
// the second word.
inline constexpr std::array<std::uint8_t, 12> kCodeBeforeCryTableWord{
    0x48, 0x00, 0x40, 0x18, 0x80, 0x00, 0x01, 0x49, 0x34, 0xE0, 0x00, 0x00};
inline constexpr std::array<std::uint8_t, 16> kCodeAfterCryTableWord{
    0x4B, 0x46, 0x00, 0x2B, 0x06, 0xD0, 0x48, 0x00, 0x40, 0x18, 0x80, 0x00, 0x00, 0x49, 0x29, 0xE0};
inline constexpr std::array<std::uint8_t, 12> kCodeBeforeSecondCryTableWord{
    0x48, 0x00, 0x40, 0x18, 0x80, 0x00, 0x01, 0x49, 0x22, 0xE0, 0x00, 0x00};
// The cry call's words lie in it here.
inline constexpr std::size_t kFirstCryTableWord = kCodeBeforeCryTableWord.size();
inline constexpr std::size_t kSecondCryTableWord = kFirstCryTableWord + 4 +
                                                   kCodeAfterCryTableWord.size() + 4 +
                                                   kCodeBeforeSecondCryTableWord.size();
inline constexpr CodePart kCryCallParts[] = {
    {0, kCodeBeforeCryTableWord},
    {kFirstCryTableWord + 4, kCodeAfterCryTableWord},
    {kSecondCryTableWord - kCodeBeforeSecondCryTableWord.size(), kCodeBeforeSecondCryTableWord}};
inline constexpr Code kCryCallCode{kCryCallParts, kSecondCryTableWord + 4, kFirstCryTableWord};

// The two words of the cry call's code whose first word is at `first`.
constexpr CryTableWords CryTableWordsFrom(std::int64_t first) {
  return {first, first + static_cast<std::int64_t>(kSecondCryTableWord - kFirstCryTableWord)};
}

}  // namespace vantrel
