#include "cli/printable_name.h"

#include "api/vantrel.h"

namespace vantrel::cli {
namespace {

// The length of the well-formed UTF-8 sequence at the start of `text` and
// its code point; 0 when it is not one (stray, overlong, surrogate, past
// U+10FFFF or cut short).
std::size_t Utf8Sequence(std::string_view text, char32_t& code_point) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = lead < 0x80   ? 1
                             : lead < 0xC2 ? 0
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF5 ? 4
                                           : 0;
  if (length == 0 || length > text.size()) return 0;
  code_point = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return 0;
    code_point = (code_point << 6) | (next & 0x3F);
  }
  constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code_point < kShortest[length] || code_point > 0x10FFFF ||
      (code_point >= 0xD800 && code_point <= 0xDFFF)) {
    return 0;
  }
  return length;
}

bool IsControl(char32_t code_point) {
  return code_point < 0x20 || (code_point >= 0x7F && code_point <= 0x9F);
}

std::string Escaped(std::string_view bytes) {
  std::string text;
  for (const char byte : bytes) {
    switch (byte) {
      case '\n':
        text += "\\n";
        break;
      case '\t':
        text += "\\t";
        break;
      case '\r':
        text += "\\r";
        break;
      default:
        text += "\\x" + HexByteDigits(static_cast<std::uint8_t>(byte));
    }
  }
  return text;
}

}  // namespace

std::string PrintableName(std::string_view name) {
  std::string text;
  while (!name.empty()) {
    char32_t code_point = 0;
    const std::size_t length = Utf8Sequence(name, code_point);
    if (length == 0) {
      text += Escaped(name.substr(0, 1));
      name.remove_prefix(1);
      continue;
    }
    const std::string_view sequence = name.substr(0, length);
    text += IsControl(code_point) ? Escaped(sequence) : std::string(sequence);
    name.remove_prefix(length);
  }
  return text;
}

}  // namespace vantrel::cli
