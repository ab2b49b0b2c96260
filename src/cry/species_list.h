#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "image_format/species_numbers.h"

namespace vantrel {

// The species in national order: entry N - 1 names species N, spelled as
// the list shows them ("Girafarig " keeps its trailing blank).
using SpeciesNames = std::array<std::string_view, static_cast<std::size_t>(kSpeciesCount)>;
const SpeciesNames& SpeciesList();

// National species `number`'s name for a sentence ("Girafarig's cry"): as
// listed, without a trailing blank.
std::string_view SpeciesName(int number);

}  // namespace vantrel
