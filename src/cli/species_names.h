#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::cli {

// Whether a user's `text` is a number (blanks around it ignored), and the
// species it names, 0 (no cry) to 386, if any.
bool IsNumber(std::string_view text);
std::optional<int> SpeciesNumbered(std::string_view text);

// The species, by national number, that a user's name `text` names: the
// image's name (`names`, as the list shows them) or the built-in English
// one, without regard to capitals, blanks or accents ("salameche",
// "Salamèche" and "charmander" name 4 in a French image). None for a name
// no species has; each of those that share a name.
std::vector<int> SpeciesNamed(std::string_view text, const std::vector<std::string>& names);

// Of `names`, the one nearest to a name that is none, without regard to
// capitals, blanks or accents: one or two typing slips away, and less than
// half the typed name. Nothing when no name is that near.
std::optional<std::string> ClosestSpecies(std::string_view text,
                                          const std::vector<std::string>& names);

// The value the title screen's code holds (an internal species number), as
// its national number and its name in `names`: "6 Charizard", "384
// Rayquaza", "0 (no cry)", "252 (no species)".
std::string DescribeCry(int value, const std::vector<std::string>& names);

}  // namespace vantrel::cli
