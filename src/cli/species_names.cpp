#include "cli/species_names.h"

#include <algorithm>
#include <charconv>

#include "cry/cry_slot.h"
#include "cry/species_list.h"

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

}  // namespace

std::optional<std::uint8_t> ParseSpecies(std::string_view text) {
  const std::string_view wanted = TrimBlanks(text);
  if (wanted.empty()) return std::nullopt;
  if (std::all_of(wanted.begin(), wanted.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(wanted.data(), wanted.data() + wanted.size(), value);
    if (error != std::errc{} || end != wanted.data() + wanted.size() || value > kSpeciesCount) {
      return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
  }
  const auto& species = SpeciesList();
  for (std::size_t i = 0; i < species.size(); ++i) {
    if (SameIgnoringCase(TrimBlanks(species[i]), wanted)) {
      return static_cast<std::uint8_t>(ValueOfPosition(static_cast<std::int16_t>(i)));
    }
  }
  return std::nullopt;
}

std::string DescribeCry(std::uint8_t value) {
  std::string text = std::to_string(value) + " ";
  if (value == NoCry) return text + "(no cry)";
  if (value > kSpeciesCount) return text + "(no species)";
  return text + std::string(SpeciesList()[PositionOfValue(value)]);
}

}  // namespace vantrel::cli
