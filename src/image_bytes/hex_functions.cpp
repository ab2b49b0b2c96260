#include "image_bytes/hex_functions.h"

#include "runtime/hex.h"

namespace vantrel::HexFunctions {
namespace {

std::string EvenLength(std::string_view hex) {
  std::string text(hex);
  if (text.size() % 2 != 0) text.insert(text.begin(), '0');
  return text;
}

}  // namespace

std::string ReverseHex(std::string_view hex) {
  const std::string text = EvenLength(hex);
  std::string result;
  result.reserve(text.size());
  for (std::size_t end = text.size(); end >= 2; end -= 2) {
    result.append(text, end - 2, 2);
  }
  return result;
}

std::string ReadHex(ByteSource& file, std::int64_t offset, std::int32_t count) {
  std::string result;
  for (std::int64_t p = offset; p < offset + count; ++p) result += HexByteDigits(file.ReadByte(p));
  return result;
}

void WriteHex(BinaryFile& file, std::int64_t offset, std::string_view hex) {
  const std::string text = EvenLength(hex);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const std::uint8_t byte = HexByteValue(std::string_view(text).substr(i, 2));
    file.WriteByte(offset + static_cast<std::int64_t>(i / 2), byte);
  }
}

}  // namespace vantrel::HexFunctions
