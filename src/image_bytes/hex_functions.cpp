#include "image_bytes/hex_functions.h"

#include <optional>
#include <vector>

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

// The bytes are read in one call, not one call a byte: a file's each read is
// a system call.
std::string ReadHex(ByteSource& file, std::int64_t offset, std::int32_t count) {
  if (count <= 0) return "";
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
  if (file.Read(offset, bytes) < bytes.size()) throw RuntimeError(kInputPastEndOfFile);
  std::string result;
  for (const std::uint8_t byte : bytes) result += HexByteDigits(byte);
  return result;
}

// The bytes go to the file in one write, so that a reader never meets some
// of them written and some not; the pairs before one that is no byte are
// written, and then its failure raised.
void WriteHex(BinaryFile& file, std::int64_t offset, std::string_view hex) {
  const std::string text = EvenLength(hex);
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size() / 2);
  std::optional<RuntimeError> failure;
  for (std::size_t i = 0; i < text.size() && !failure; i += 2) {
    try {
      bytes.push_back(HexByteValue(std::string_view(text).substr(i, 2)));
    } catch (const RuntimeError& error) {
      failure = error;
    }
  }
  if (!bytes.empty()) file.Write(offset, bytes);
  if (failure) throw *failure;
}

}  // namespace vantrel::HexFunctions
