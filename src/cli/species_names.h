#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel::cli {

// A species as a user types it, as its national number: a list name in any
// case with surrounding blanks ignored ("girafarig" is "Girafarig "), or a
// number 0 (no cry) to 386.
std::optional<int> ParseSpecies(std::string_view text);

// The species name nearest to a name that is none, ignoring case and
// surrounding blanks: one or two typing slips away, and less than half the
// typed name. Nothing when no name is that near.
std::optional<std::string_view> ClosestSpecies(std::string_view text);

// The value the title screen's code holds (an internal species number), as
// its national number and name: "6 Charizard", "384 Rayquaza", "0 (no cry)",
// "252 (no species)".
std::string DescribeCry(int value);

}  // namespace vantrel::cli
