#include "cry/cry_slot.h"

#include <string>

#include "image_bytes/hex_functions.h"
#include "runtime/hex.h"

namespace vantrel {

std::uint8_t ReadCry(const std::filesystem::path& path) {
  const std::string digits = HexFunctions::ReverseHex(HexFunctions::ReadHex(path, CryOffset, 1));
  return HexByteValue(digits);
}

bool WriteCry(const std::filesystem::path& path, std::uint8_t value) {
  return HexFunctions::WriteHex(path, CryOffset, HexFunctions::ReverseHex(HexByteDigits(value)));
}

}  // namespace vantrel
