#include "image_format/image_header.h"

#include <array>
#include <numeric>

#include "image_format/releases.h"
#include "runtime/hex.h"

namespace vantrel {
namespace {

std::string Field(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t size) {
  const auto field = bytes.subspan(offset, size);
  return std::string(field.begin(), field.end());
}

}  // namespace

ImageHeader ParseImageHeader(std::span<const std::uint8_t> first_bytes, std::int64_t file_size) {
  ImageHeader header;
  header.file_size = file_size;
  if (first_bytes.size() < kHeaderEnd) return header;
  header.present = true;
  header.title = Field(first_bytes, kTitleAt, 12);
  header.game_code = Field(first_bytes, kGameCodeAt, 4);
  header.maker_code = Field(first_bytes, kMakerCodeAt, 2);
  header.fixed_byte = first_bytes[kFixedByteAt];
  header.software_version = first_bytes[kSoftwareVersionAt];
  header.complement = first_bytes[kComplementAt];
  const auto summed = first_bytes.subspan(kHeaderStart, kComplementAt - kHeaderStart);
  const unsigned sum = std::accumulate(summed.begin(), summed.end(), 0u);
  header.expected_complement = static_cast<std::uint8_t>(0u - (0x19u + sum));
  if (first_bytes.size() >= kSecondHeaderEnd) {
    header.language = WordAt(first_bytes, kLanguageAt);
    header.names_address = WordAt(first_bytes, kNamesAddressAt);
  }
  return header;
}

ImageHeader ReadImageHeader(ByteSource& image) {
  std::array<std::uint8_t, kSecondHeaderEnd> first{};
  const std::int64_t size = image.Size();
  return ParseImageHeader(std::span(first).first(image.Read(0, first)), size);
}

std::string PrintableText(const std::string& raw) {
  const std::size_t end = raw.find_last_not_of('\0');
  std::string text;
  for (std::size_t i = 0; end != std::string::npos && i <= end; ++i) {
    const auto c = static_cast<unsigned char>(raw[i]);
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      text += static_cast<char>(c);
    } else {
      text += "\\x" + HexByteDigits(c);
    }
  }
  return text;
}

}  // namespace vantrel
