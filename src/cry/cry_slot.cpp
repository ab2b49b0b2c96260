#include "cry/cry_slot.h"

#include <string>
#include <string_view>

#include "image_bytes/hex_functions.h"
#include "image_format/title_screen_code.h"
#include "runtime/hex.h"

namespace vantrel {

std::uint8_t ReadCry(ByteSource& file, std::int64_t offset) {
  return HexByteValue(HexFunctions::ReverseHex(HexFunctions::ReadHex(file, offset, 1)));
}

std::uint16_t ReadWideCry(ByteSource& file, std::int64_t offset) {
  const std::string code =
      HexFunctions::ReadHex(file, offset - kWideHighByteBeforeCryByte,
                            static_cast<std::int32_t>(kWideHighByteBeforeCryByte + 1));
  const std::string_view digits = code;
  return static_cast<std::uint16_t>(HexByteValue(digits.substr(0, 2)) << 8 |
                                    HexByteValue(digits.substr(digits.size() - 2)));
}

void WriteCry(BinaryFile& file, std::int64_t offset, std::uint8_t value) {
  HexFunctions::WriteHex(file, offset, HexFunctions::ReverseHex(HexByteDigits(value)));
}

void WriteCry(BinaryFile& file, std::int64_t offset, std::span<const std::uint8_t> bytes) {
  std::string hex;
  for (const std::uint8_t byte : bytes) hex += HexByteDigits(byte);
  HexFunctions::WriteHex(file, offset, hex);
}

}  // namespace vantrel
