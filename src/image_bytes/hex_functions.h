#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/binary_file.h"

namespace vantrel::HexFunctions {

// Reverses the byte order of a hex byte string: "0A1B2C" -> "2C1B0A"; an odd
// length is first padded with a leading "0" ("ABC" -> "BC0A").
std::string ReverseHex(std::string_view hex);

// The `count` bytes at `offset` of an open image as uppercase hex, two
// digits a byte, in file order. The image stays open, so that what is read
// and what is then written are the same file. Failures are raised.
std::string ReadHex(ByteSource& file, std::int64_t offset, std::int32_t count);

// Writes the bytes that `hex` spells to `offset`, `offset` + 1, ... in place.
// A failure is raised; bytes before it stay written.
void WriteHex(BinaryFile& file, std::int64_t offset, std::string_view hex);

}  // namespace vantrel::HexFunctions
