#pragma once

#include <cstddef>
#include <optional>

namespace vantrel {

// The species the games know, numbered in national order, 1 to 386: the
// species list's order, and the numbers a user names them by.
inline constexpr int kSpeciesCount = 386;

// Species 1 to 251 carry their national number inside the game too. Past
// them the game numbers its species its own way (its internal numbers):
// 252 to 276 are placeholders that play Unown's cry, not species, and
// national 252 to 386 are internal 277 to 411, in another order.
inline constexpr int kSameNumberSpecies = 251;
inline constexpr int kLastInternalNumber = 411;

// The game's internal number of national species `national` (1 to
// kSpeciesCount); 0 stays 0, no species.
int InternalNumberOf(int national);

// The national number of internal number `internal`; nothing for 0, a
// placeholder or a number past the last species.
std::optional<int> NationalNumberOf(int internal);

// Where the cry table holds national species `national`'s cry: its id, from
// 0. The table holds kCryCount entries.
inline constexpr int kCryCount = 388;
int CryIdOf(int national);

}  // namespace vantrel
