#include "cli/species_names.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "api/vantrel.h"

namespace vantrel::cli {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return Lower(x) == Lower(y); });
}

// Typing slips from `a` to `b`, ignoring case: a letter left out, added,
// changed, or two neighbours swapped.
std::size_t Slips(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t changed = Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + changed});
      if (i > 1 && j > 1 && Lower(a[i - 1]) == Lower(b[j - 2]) &&
          Lower(a[i - 2]) == Lower(b[j - 1])) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

std::optional<int> ParseSpecies(std::string_view text) {
  const std::string_view wanted = TrimBlanks(text);
  if (wanted.empty()) return std::nullopt;
  if (std::all_of(wanted.begin(), wanted.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    int value = 0;
    const auto [end, error] = std::from_chars(wanted.data(), wanted.data() + wanted.size(), value);
    if (error != std::errc{} || end != wanted.data() + wanted.size() || value > kSpeciesCount) {
      return std::nullopt;
    }
    return value;
  }
  const auto& species = SpeciesList();
  for (std::size_t i = 0; i < species.size(); ++i) {
    if (SameIgnoringCase(TrimBlanks(species[i]), wanted)) {
      return ValueOfPosition(static_cast<std::int16_t>(i));
    }
  }
  return std::nullopt;
}

std::optional<std::string_view> ClosestSpecies(std::string_view text) {
  const std::string_view typed = TrimBlanks(text);
  std::optional<std::string_view> closest;
  std::size_t fewest = std::min<std::size_t>(3, (typed.size() + 1) / 2);
  for (std::string_view species : SpeciesList()) {
    const std::string_view name = TrimBlanks(species);
    const std::size_t slips = Slips(typed, name);
    if (slips < fewest) {
      fewest = slips;
      closest = name;
    }
  }
  return closest;
}

std::string DescribeCry(int value) {
  if (value == NoCry) return "0 (no cry)";
  const std::optional<int> species = NationalNumberOf(value);
  if (!species) return std::to_string(value) + " (no species)";
  return std::to_string(*species) + " " + std::string(SpeciesList()[PositionOfValue(*species)]);
}

}  // namespace vantrel::cli
