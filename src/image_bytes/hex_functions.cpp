#include "image_bytes/hex_functions.h"

#include "image_bytes/failure_box.h"
#include "runtime/binary_file.h"
#include "runtime/error.h"
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

std::string ReadHex(const std::filesystem::path& path, std::int32_t offset, std::int32_t count) {
  try {
    BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kRead);
    std::string result;
    for (std::int64_t p = offset; p < std::int64_t{offset} + count; ++p) {
      result += HexByteDigits(file.ReadByte(p));
    }
    file.Close();
    return result;
  } catch (const RuntimeError& error) {
    ShowFailureBox(error);
    return {};
  }
}

bool WriteHex(const std::filesystem::path& path, std::int32_t offset, std::string_view hex) {
  try {
    const std::string text = EvenLength(hex);
    BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kReadWrite);
    for (std::size_t i = 0; i < text.size(); i += 2) {
      const std::uint8_t byte = HexByteValue(std::string_view(text).substr(i, 2));
      file.WriteByte(std::int64_t{offset} + static_cast<std::int64_t>(i / 2), byte);
    }
    file.Close();
    return true;
  } catch (const RuntimeError& error) {
    ShowFailureBox(error);
    return false;
  }
}

}  // namespace vantrel::HexFunctions
