#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image_format/image_header.h"
#include "image_format/species_numbers.h"
#include "runtime/byte_source.h"

namespace vantrel {

// The species names table, which the second header's word at 0x144 points
// at: species 0 to 411 by internal number, 11 bytes each, a name of up to 10
// characters in the game's character set ended by 0xFF.
inline constexpr std::int64_t kNameSize = 11;
inline constexpr int kNameEntries = kLastInternalNumber + 1;
inline constexpr std::uint8_t kNameEnd = 0xFF;
inline constexpr std::uint32_t kJapanese = 1;

// An image's names table as Vantrel reads it.
struct NameTable {
  // The second header's language, 0 when the file ends before it.
  std::uint32_t language = 0;
  // Where the table starts, when its address lies inside the image.
  std::optional<std::int64_t> at;
  // The names by internal number, in UTF-8 as the image spells them (in
  // capitals, in the stock games); empty when the table cannot be used, and
  // `unusable` then says why.
  std::vector<std::string> names;
  std::string unusable;
};

// Reads the table of the image whose header is `header`, in one read. The
// table is used only if it lies wholly inside the image and every entry from
// 1 on ends within its 11 bytes in characters Vantrel knows. File failures
// are raised.
NameTable ReadNameTable(ByteSource& image, const ImageHeader& header);

// "French (language 3)"; "language 9" for one Vantrel has no name for.
std::string LanguageText(std::uint32_t language);

}  // namespace vantrel
