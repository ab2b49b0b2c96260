#include "runtime/hex.h"

#include "runtime/error.h"

namespace vantrel {
namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string HexDigits(std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string reversed;
  do {
    reversed.push_back(kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return {reversed.rbegin(), reversed.rend()};
}

std::string HexNumber(std::uint64_t value) {
  return "0x" + HexDigits(value);
}

std::string HexByteDigits(std::uint8_t value) {
  const std::string digits = HexDigits(value);
  return digits.size() == 1 ? "0" + digits : digits;
}

std::uint8_t HexByteValue(std::string_view digits) {
  if (digits.empty() || digits.size() > 2) throw RuntimeError(kTypeMismatch);
  int value = 0;
  for (char c : digits) {
    const int digit = DigitValue(c);
    if (digit < 0) throw RuntimeError(kTypeMismatch);
    value = value * 16 + digit;
  }
  return static_cast<std::uint8_t>(value);
}

}  // namespace vantrel
