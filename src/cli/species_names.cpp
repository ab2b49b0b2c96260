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

// Typing slips from `a` to `b`: a letter left out, added, changed, or two
// neighbours swapped.
std::size_t Slips(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t changed = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + changed});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

bool IsNumber(std::string_view text) {
  const std::string_view wanted = TrimBlanks(text);
  return !wanted.empty() &&
         std::all_of(wanted.begin(), wanted.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<int> SpeciesNumbered(std::string_view text) {
  if (!IsNumber(text)) return std::nullopt;
  const std::string_view wanted = TrimBlanks(text);
  int value = 0;
  const auto [end, error] = std::from_chars(wanted.data(), wanted.data() + wanted.size(), value);
  if (error != std::errc{} || end != wanted.data() + wanted.size() || value > kSpeciesCount) {
    return std::nullopt;
  }
  return value;
}

std::vector<int> SpeciesNamed(std::string_view text, const std::vector<std::string>& names) {
  const std::string folded = Folded(TrimBlanks(text));
  if (folded.empty()) return {};
  std::vector<int> named;
  for (int species = 1; species <= kSpeciesCount; ++species) {
    const auto at = static_cast<std::size_t>(species - 1);
    if (Folded(names[at]) == folded || Folded(SpeciesList()[at]) == folded) {
      named.push_back(species);
    }
  }
  return named;
}

std::optional<std::string> ClosestSpecies(std::string_view text,
                                          const std::vector<std::string>& names) {
  const std::string typed = Folded(text);
  std::optional<std::string> closest;
  std::size_t fewest = std::min<std::size_t>(3, (typed.size() + 1) / 2);
  for (const std::string& name : names) {
    const std::size_t slips = Slips(typed, Folded(name));
    if (slips < fewest) {
      fewest = slips;
      closest = std::string(SentenceName(name));
    }
  }
  return closest;
}

std::string DescribeCry(int value, const std::vector<std::string>& names) {
  if (value == NoCry) return "0 (no cry)";
  const std::optional<int> species = NationalNumberOf(value);
  if (!species) return std::to_string(value) + " (no species)";
  return std::to_string(*species) + " " + names[static_cast<std::size_t>(*species - 1)];
}

}  // namespace vantrel::cli
