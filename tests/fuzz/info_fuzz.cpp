// The header reader behind `info`, on any first bytes and any file size: it
// must never read past what it was given, must agree with the header's own
// arithmetic, and must print only plain text that still says exactly which
// bytes were there.
#include <cstring>
#include <numeric>
#include <span>
#include <string>

#include "api/vantrel.h"
#include "fuzz_support.h"

namespace {

using vantrel::fuzz::Check;

// Undoes PrintableText's \xNN escapes.
std::string Unescape(const std::string& text) {
  std::string raw;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
      raw += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else {
      raw += text[i];
    }
  }
  return raw;
}

void CheckPrintable(const std::string& raw) {
  const std::string text = vantrel::PrintableText(raw);
  for (const char c : text) Check(c >= 0x20 && c < 0x7F, "printed text is plain ASCII");
  const std::size_t end = raw.find_last_not_of('\0');
  Check(Unescape(text) == (end == std::string::npos ? "" : raw.substr(0, end + 1)),
        "printed text says which bytes were there");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first eight bytes give the file's size; the rest are its first bytes.
  std::int64_t file_size = 0;
  if (size >= sizeof file_size) {
    std::memcpy(&file_size, data, sizeof file_size);
    data += sizeof file_size;
    size -= sizeof file_size;
  }
  const std::span<const std::uint8_t> bytes(data, size);
  const auto header = vantrel::ParseImageHeader(bytes, file_size);

  Check(header.file_size == file_size, "the size is kept");
  Check(header.present == (size >= vantrel::kHeaderEnd), "present exactly when all is there");
  if (header.present) {
    const unsigned sum = std::accumulate(data + 0xA0, data + 0xBD, 0u);
    Check(static_cast<std::uint8_t>(header.expected_complement + 0x19 + sum) == 0,
          "the complement makes the header sum to zero");
    Check(
        header.title.size() == 12 && header.game_code.size() == 4 && header.maker_code.size() == 2,
        "fields have their fixed widths");
    CheckPrintable(header.title);
    CheckPrintable(header.game_code);
  }
  return 0;
}
