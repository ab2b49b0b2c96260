#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel::HexFunctions {

// Reverses the byte order of a hex byte string: "0A1B2C" -> "2C1B0A"; an odd
// length is first padded with a leading "0" ("ABC" -> "BC0A").
std::string ReverseHex(std::string_view hex);

// The `count` bytes at `offset` as uppercase hex, two digits a byte, in file
// order. A failure is shown in the failure box and gives empty text.
std::string ReadHex(const std::filesystem::path& path, std::int32_t offset, std::int32_t count);

// Writes the bytes that `hex` spells to `offset`, `offset` + 1, ... in place.
// A failure is shown in the failure box; bytes before it stay written.
// Returns whether every byte was written and is on disk.
bool WriteHex(const std::filesystem::path& path, std::int32_t offset, std::string_view hex);

}  // namespace vantrel::HexFunctions
