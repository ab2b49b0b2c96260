#include "image_format/title_screen_code.h"

#include <algorithm>
#include <optional>

namespace vantrel {
namespace {

// The byte `code` fixes at `at`, if it fixes one there.
std::optional<std::uint8_t> FixedByte(const Code& code, std::size_t at) {
  for (const CodePart& part : code.parts) {
    if (at >= part.at && at < part.at + part.bytes.size()) return part.bytes[at - part.at];
  }
  return std::nullopt;
}

}  // namespace

std::array<std::uint8_t, kTitleWindowSize> TitleWindowOf(TitleScreenForm form, int species) {
  std::array<std::uint8_t, kTitleCodeSize> code{};
  for (const CodePart& part : CodeOf(form).parts) {
    std::copy(part.bytes.begin(), part.bytes.end(), code.begin() + part.at);
  }
  code[kTitleCryByteAt] = static_cast<std::uint8_t>(species & 0xFF);
  if (form == TitleScreenForm::kWide)
    code[kWideHighByteAt] = static_cast<std::uint8_t>(species >> 8);
  std::array<std::uint8_t, kTitleWindowSize> window{};
  std::copy_n(code.begin() + kTitleWindowAt, kTitleWindowSize, window.begin());
  return window;
}

bool IsHalfWritten(std::span<const std::uint8_t> code) {
  if (code.size() < kTitleCodeSize) return false;
  const auto whole = [&](const Code& form) { return Matches(form, code); };
  if (std::any_of(kTitleScreenForms.begin(), kTitleScreenForms.end(), whole)) return false;
  for (std::size_t at = 0; at < kTitleCodeSize; ++at) {
    const std::optional<std::uint8_t> stock = FixedByte(CodeOf(TitleScreenForm::kStock), at);
    const std::optional<std::uint8_t> wide = FixedByte(CodeOf(TitleScreenForm::kWide), at);
    if (stock && wide && code[at] != *stock && code[at] != *wide) return false;
  }
  return true;
}

}  // namespace vantrel
