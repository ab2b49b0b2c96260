#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "image_format/name_table.h"
#include "image_format/species_numbers.h"

namespace vantrel {

// The species in national order, as the list shows them built in: entry
// N - 1 names species N ("Girafarig " keeps its trailing blank).
using BuiltInSpecies = std::array<std::string_view, static_cast<std::size_t>(kSpeciesCount)>;
const BuiltInSpecies& SpeciesList();

// The species in national order as the list shows them for an image: the
// image's own names where its table can be used, each word a capital and
// small letters, but the built-in spelling where the image's name is the
// built-in one (so a stock English image shows the built-in list); else the
// built-in list.
std::vector<std::string> ShownNames(const NameTable& table);

// A listed name for a sentence ("Girafarig's cry"): without a trailing
// blank.
std::string_view SentenceName(std::string_view listed);

}  // namespace vantrel
