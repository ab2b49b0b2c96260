#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "runtime/byte_source.h"

namespace vantrel {

// The cartridge header sits at 0xA0..0xBD; reading the first kHeaderEnd
// bytes of a file is enough to parse it. Its fields' offsets:
inline constexpr std::size_t kHeaderStart = 0xA0;
inline constexpr std::size_t kTitleAt = kHeaderStart;  // 12 bytes
inline constexpr std::size_t kGameCodeAt = 0xAC;       // 4
inline constexpr std::size_t kMakerCodeAt = 0xB0;      // 2
inline constexpr std::size_t kFixedByteAt = 0xB2;
inline constexpr std::size_t kSoftwareVersionAt = 0xBC;
inline constexpr std::size_t kComplementAt = 0xBD;
inline constexpr std::size_t kHeaderEnd = 0xBE;
inline constexpr std::uint8_t kFixedByte = 0x96;

// The game's own second header follows at 0x100; of it Vantrel reads the
// language and the cartridge address of the species names table, both
// little-endian words.
inline constexpr std::size_t kLanguageAt = 0x104;
inline constexpr std::size_t kNamesAddressAt = 0x144;
inline constexpr std::size_t kSecondHeaderEnd = 0x148;

struct ImageHeader {
  std::int64_t file_size = 0;
  // False when the file ends before 0xBE; the fields below are then empty.
  bool present = false;
  std::string title;  // as stored
  std::string game_code;
  std::string maker_code;
  std::uint8_t fixed_byte = 0;
  std::uint8_t software_version = 0;
  std::uint8_t complement = 0;
  std::uint8_t expected_complement = 0;
  // The second header's fields, when the file holds them.
  std::optional<std::uint32_t> language;
  std::optional<std::uint32_t> names_address;

  bool FixedByteOk() const { return present && fixed_byte == kFixedByte; }
  bool ComplementMatches() const { return present && complement == expected_complement; }
};

// Parses the header from the first bytes of a file of `file_size` bytes.
// Any input is accepted: fewer bytes than kHeaderEnd give a header that is
// not present; nothing is thrown.
ImageHeader ParseImageHeader(std::span<const std::uint8_t> first_bytes, std::int64_t file_size);

// Reads the header of an image, the second header's fields with it: its
// first kSecondHeaderEnd bytes, in one read, and its size.
ImageHeader ReadImageHeader(ByteSource& image);

// Header text for a terminal: printable ASCII as it is, trailing NULs
// dropped, anything else as \xNN.
std::string PrintableText(const std::string& raw);

}  // namespace vantrel
