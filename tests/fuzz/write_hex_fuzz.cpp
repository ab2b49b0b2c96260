// WriteHex with any text at any small offset on a 64-byte image. The first
// input byte is the offset (signed), the rest the hex text. Whatever the text,
// the image keeps its size, the leading well-formed bytes that fit are
// written and nothing else changes, and a failure is raised exactly when not
// every pair was written.
#include <charconv>
#include <string>

#include "fuzz_support.h"
#include "image_bytes/hex_functions.h"
#include "runtime/error.h"

namespace {

using vantrel::fuzz::Check;

constexpr int kImageSize = 64;

std::string Pattern() {
  std::string bytes(kImageSize, '\0');
  for (int i = 0; i < kImageSize; ++i) bytes[i] = static_cast<char>(i * 37 + 11);
  return bytes;
}

// The byte a pair of digits spells, judged by the standard library.
bool PairValue(std::string_view pair, unsigned& value) {
  const auto [end, error] = std::from_chars(pair.data(), pair.data() + pair.size(), value, 16);
  return error == std::errc{} && end == pair.data() + pair.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int offset = static_cast<std::int8_t>(data[0]);
  const std::string text(vantrel::fuzz::Text(data + 1, size - 1));
  const std::string padded = text.size() % 2 == 0 ? text : "0" + text;

  const auto image = vantrel::fuzz::Sandbox() / "image";
  const std::string before = Pattern();
  vantrel::fuzz::WriteFile(image, before);

  bool written = true;
  try {
    auto file = vantrel::BinaryFile::Open(image, vantrel::BinaryFile::Access::kReadWrite);
    vantrel::HexFunctions::WriteHex(file, offset, text);
    file.Close();
  } catch (const vantrel::RuntimeError&) {
    written = false;
  }

  std::string expected = before;
  bool all_fit = true;
  for (std::size_t i = 0; i < padded.size(); i += 2) {
    const long long at = offset + static_cast<long long>(i / 2);
    unsigned value = 0;
    if (!PairValue(std::string_view(padded).substr(i, 2), value) || at < 0 || at >= kImageSize) {
      all_fit = false;
      break;
    }
    expected[static_cast<std::size_t>(at)] = static_cast<char>(value);
  }

  Check(written == all_fit, "succeeds exactly when every pair is a byte that fits");
  std::string after;
  Check(vantrel::fuzz::ReadFile(image, after) == expected,
        "the well-formed leading bytes are written and nothing else changes");
  return 0;
}
