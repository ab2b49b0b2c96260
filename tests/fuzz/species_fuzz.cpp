// ParseSpecies on any text: a result is a species number or 0, the same text
// in other case and with other surrounding blanks means the same, and the
// number it gives reads back as itself.
#include <string>

#include "api/vantrel.h"
#include "cli/species_names.h"
#include "fuzz_support.h"

namespace {

std::string SwapCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    } else if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vantrel::cli::ParseSpecies;
  using vantrel::fuzz::Check;
  const std::string text(vantrel::fuzz::Text(data, size));

  const auto value = ParseSpecies(text);
  Check(ParseSpecies(" \t" + SwapCase(text) + "\t ") == value,
        "case and surrounding blanks do not matter");
  if (value) {
    Check(*value <= vantrel::kSpeciesCount, "a species number is at most the species count");
    Check(ParseSpecies(std::to_string(*value)) == value, "the number reads back as itself");
    Check(!vantrel::cli::DescribeCry(*value).empty(), "every result can be described");
  }
  return 0;
}
