#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

// Uppercase hexadecimal digits without leading zeros: 6 -> "6", 251 -> "FB".
std::string HexDigits(std::uint64_t value);

// An offset or address as people read it: 4096 -> "0x1000".
std::string HexNumber(std::uint64_t value);

// A byte as exactly two uppercase digits: 6 -> "06".
std::string HexByteDigits(std::uint8_t value);

// The value of one or two hexadecimal digits, either case. Anything else,
// empty text and blanks included, raises 13 "Type mismatch".
std::uint8_t HexByteValue(std::string_view digits);

}  // namespace vantrel
