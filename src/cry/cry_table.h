#pragma once

#include <cstdint>
#include <optional>

#include "cry/cry_locator.h"
#include "cry/releases.h"
#include "runtime/binary_file.h"

namespace vantrel {

// Where the cartridge lies in the game's address space: file offset 0.
inline constexpr std::uint32_t kCartridgeAddress = 0x08000000;

// The cry table of an open image: found only when the header names a known
// release whose title-screen code stands where that release keeps it, and
// both words that hold the table's address point inside the image.
// Anywhere else those words may be some other code, and no cry is played
// through them. Failures to read are raised.
std::optional<CryTableWords> FindCryTable(BinaryFile& file, const CryByteLocation& location);

}  // namespace vantrel
