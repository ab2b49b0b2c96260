#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "image_format/releases.h"

namespace vantrel {

// The species in species order: entry N - 1 names species N, spelled as the
// list shows them ("Girafarig " keeps its trailing blank).
const std::array<std::string_view, kSpeciesCount>& SpeciesList();

// Species `number`'s name for a sentence ("Girafarig's cry"): as listed,
// without a trailing blank.
std::string_view SpeciesName(int number);

}  // namespace vantrel
