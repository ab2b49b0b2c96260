// A typed species on any text, against the built-in names: a result is a
// species number or 0, the same text in other case and with other
// surrounding blanks means the same, and the number it gives reads back as
// itself.
#include <optional>
#include <string>
#include <vector>

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
  using vantrel::fuzz::Check;
  static const std::vector<std::string> names = vantrel::ShownNames({});
  const auto parse = [](const std::string& typed) {
    if (vantrel::cli::IsNumber(typed)) {
      const std::optional<int> number = vantrel::cli::SpeciesNumbered(typed);
      return number ? std::vector<int>{*number} : std::vector<int>{};
    }
    return vantrel::cli::SpeciesNamed(typed, names);
  };
  const std::string text(vantrel::fuzz::Text(data, size));

  const std::vector<int> named = parse(text);
  Check(parse(" \t" + SwapCase(text) + "\t ") == named,
        "case and surrounding blanks do not matter");
  Check(named.size() <= 1, "no built-in name is shared");
  for (const int value : named) {
    Check(value >= 0 && value <= vantrel::kSpeciesCount,
          "a species number is at most the species count");
    Check(parse(std::to_string(value)) == named, "the number reads back as itself");
    Check(!vantrel::cli::DescribeCry(vantrel::InternalNumberOf(value), names).empty(),
          "every result can be described");
  }
  return 0;
}
