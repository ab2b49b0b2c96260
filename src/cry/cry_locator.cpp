#include "cry/cry_locator.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <vector>

#include "cry/cry_slot.h"

namespace vantrel {
namespace {

constexpr std::int64_t kBefore = kCodeBeforeCryByte.size();
constexpr std::int64_t kCodeSize = kBefore + 1 + kCodeAfterCryByte.size();

// The code around the cry byte at the start of `bytes`; the byte itself may
// hold any species.
bool IsTitleScreenCode(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= static_cast<std::size_t>(kCodeSize) &&
         std::ranges::equal(bytes.first(kBefore), kCodeBeforeCryByte) &&
         std::ranges::equal(bytes.subspan(kBefore + 1, kCodeAfterCryByte.size()),
                            kCodeAfterCryByte);
}

const Release* ReleaseNamed(const ImageHeader& header) {
  if (!header.present) return nullptr;
  const auto named = std::ranges::find_if(kReleases, [&](const Release& release) {
    return release.game_code == header.game_code &&
           release.software_version == header.software_version;
  });
  return named != kReleases.end() ? &*named : nullptr;
}

bool CodeStandsAt(BinaryFile& file, std::int64_t cry_byte) {
  std::array<std::uint8_t, kCodeSize> code{};
  return IsTitleScreenCode(std::span(code).first(file.Read(cry_byte - kBefore, code)));
}

// The cry bytes of the first two places where the title screen's code
// stands. memchr finds the code's first byte at memory speed; blocks overlap
// by the code's size less one, so that a copy across two blocks is met once,
// in the block where it starts.
std::vector<std::int64_t> SearchTitleScreenCode(BinaryFile& file) {
  constexpr std::int64_t kBlock = std::int64_t{1} << 20;
  std::vector<std::uint8_t> buffer(kBlock + kCodeSize - 1);
  std::vector<std::int64_t> found;
  for (std::int64_t start = 0; start < kCartridgeSize && found.size() < 2; start += kBlock) {
    const std::size_t got = file.Read(start, buffer);
    const std::span<const std::uint8_t> read = std::span(buffer).first(got);
    const std::size_t starts = std::min<std::size_t>(got, kBlock);
    for (std::size_t at = 0; at < starts && found.size() < 2; ++at) {
      const void* next = std::memchr(read.data() + at, kCodeBeforeCryByte[0], starts - at);
      if (next == nullptr) break;
      at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(next) - read.data());
      if (IsTitleScreenCode(read.subspan(at))) found.push_back(start + std::int64_t(at) + kBefore);
    }
    if (got < buffer.size()) break;
  }
  return found;
}

}  // namespace

CryByteLocation LocateCryByte(BinaryFile& file) {
  CryByteLocation location;
  location.header = ReadImageHeader(file);
  location.stock = StockCry(location.header);
  location.release = ReleaseNamed(location.header);
  if (location.release != nullptr && CodeStandsAt(file, location.release->cry_byte)) {
    location.offset = location.release->cry_byte;
    location.at_release_offset = true;
    return location;
  }
  const std::vector<std::int64_t> found = SearchTitleScreenCode(file);
  location.copies_found = static_cast<int>(found.size());
  if (found.size() == 1) location.offset = found.front();
  return location;
}

std::string ReleaseText(const CryByteLocation& location) {
  const ImageHeader& header = location.header;
  if (!header.present) return "no header";
  const std::string fields = " (" + PrintableText(header.game_code) + ", version " +
                             std::to_string(header.software_version) + ")";
  return (location.release != nullptr ? std::string(location.release->name) : "unknown release") +
         fields;
}

std::string FindingText(const CryByteLocation& location) {
  if (location.at_release_offset) return "known release";
  if (location.offset) return "found by the title screen's code";
  return location.copies_found == 0 ? "the title screen's code is not in the image"
                                    : "the title screen's code is in the image more than once";
}

}  // namespace vantrel
