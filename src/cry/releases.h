#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vantrel {

// Where the cartridge lies in the game's address space: file offset 0.
inline constexpr std::uint32_t kCartridgeAddress = 0x08000000;

// The file offsets of the two words in the game's code that hold the cry
// table's address (as a cartridge address): one for cry ids 0 to 127, one
// for 128 to 255.
struct CryTableWords {
  std::int64_t block0;
  std::int64_t block1;
};

// An English release whose title-screen code is known, as its header names
// it: the game code at 0xAC and the software version at 0xBC.
struct Release {
  std::string_view name;
  std::string_view game_code;
  std::uint8_t software_version;
  std::int64_t cry_byte;
  CryTableWords cry_table;
};

inline constexpr std::array<Release, 4> kReleases{{
    {"FireRed 1.0", "BPRE", 0, 0x791EE, {0x72114, 0x72138}},
    {"FireRed 1.1", "BPRE", 1, 0x79202, {0x72128, 0x7214C}},
    {"LeafGreen 1.0", "BPGE", 0, 0x791EE, {0x72114, 0x72138}},
    {"LeafGreen 1.1", "BPGE", 1, 0x79202, {0x72128, 0x7214C}},
}};

// The title screen's code around the cry byte, the same in every release:
// the cry byte is the immediate of a Thumb `movs r0, #species` that passes
// the species to the cry call. The 12 bytes before it and the 11 after.
inline constexpr std::array<std::uint8_t, 12> kCodeBeforeCryByte{
    0x80, 0x20, 0x08, 0x40, 0x00, 0x06, 0x05, 0x0E, 0x00, 0x2D, 0x5B, 0xD1};
inline constexpr std::array<std::uint8_t, 11> kCodeAfterCryByte{0x20, 0x00, 0x21, 0xF8, 0xF7, 0xFD,
                                                                0xFD, 0x20, 0x7B, 0x00, 0xF0};

}  // namespace vantrel
