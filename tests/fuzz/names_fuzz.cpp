// The names table on any image held in memory, its second header pointing
// at a table 0x200 bytes in: reading never fails and never reads past the
// image, the table is used only whole, and the list shown always holds 386
// names of well-formed UTF-8, each the image's or the built-in one.
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "api/vantrel.h"
#include "fuzz_support.h"

namespace {

using vantrel::fuzz::Check;

bool WellFormed(const std::string& text) {
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t size = lead < 0x80                   ? 1
                             : lead >= 0xC2 && lead < 0xE0 ? 2
                             : lead < 0xF0                 ? 3
                                                           : 0;
    if (size == 0 || at + size > text.size()) return false;
    at += size;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kTable = 0x200;
  std::vector<std::uint8_t> image(kTable, 0);
  // The header's language is the first input byte; the rest is the table.
  if (size > 0) image[vantrel::kLanguageAt] = data[0];
  const std::uint32_t address = vantrel::kCartridgeAddress + kTable;
  std::memcpy(image.data() + vantrel::kNamesAddressAt, &address, sizeof address);
  if (size > 1) image.insert(image.end(), data + 1, data + size);

  vantrel::MemoryBytes bytes(image);
  const vantrel::ImageNames names = vantrel::ReadImageNames(bytes);
  const std::size_t whole = vantrel::kNameEntries * vantrel::kNameSize;
  Check(names.table.names.empty() == !names.table.unusable.empty(),
        "a table is used, or why not is said");
  Check(names.table.names.empty() || image.size() >= kTable + whole,
        "a table is used only when it lies whole in the image");
  Check(names.shown.size() == 386, "the list holds every species");
  for (std::size_t i = 0; i < names.shown.size(); ++i) {
    Check(WellFormed(names.shown[i]), "every name shown is well-formed UTF-8");
    Check(!names.table.names.empty() || names.shown[i] == vantrel::SpeciesList()[i],
          "without the table, the built-in names");
  }
  return 0;
}
