#include "cry/cry_slot.h"

#include <string>

#include "image_bytes/hex_functions.h"
#include "runtime/hex.h"

namespace vantrel {

std::uint8_t ReadCry(ByteSource& file, std::int64_t offset) {
  return HexByteValue(HexFunctions::ReverseHex(HexFunctions::ReadHex(file, offset, 1)));
}

void WriteCry(BinaryFile& file, std::int64_t offset, std::uint8_t value) {
  HexFunctions::WriteHex(file, offset, HexFunctions::ReverseHex(HexByteDigits(value)));
}

}  // namespace vantrel
