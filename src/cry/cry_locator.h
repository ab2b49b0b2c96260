#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cry/image_header.h"
#include "cry/releases.h"
#include "runtime/binary_file.h"

namespace vantrel {

// Where an image keeps its cry byte, and how that was found.
struct CryByteLocation {
  ImageHeader header;
  // The release the header names, when it is one whose code is known.
  const Release* release = nullptr;
  // The cry byte: where the named release keeps it, when its title-screen
  // code stands there; else wherever that code stands, when it does so once.
  std::optional<std::int64_t> offset;
  bool at_release_offset = false;
  // How often a search met the title screen's code, counted up to 2: 0 or
  // 2 when no cry byte was found.
  int copies_found = 0;
  // The image's stock cry, Restore's value.
  std::uint8_t stock = 0;
};

// A cartridge maps at most 32 MiB: code past that is never run.
inline constexpr std::int64_t kCartridgeSize = std::int64_t{32} << 20;

// Finds the cry byte of an open image: its header and 24 bytes for a known
// release, else one pass over the first 32 MiB in large blocks. Failures to
// read are raised.
CryByteLocation LocateCryByte(BinaryFile& file);

// "FireRed 1.1 (BPRE, version 1)", or "unknown release (BPRF, version 0)".
std::string ReleaseText(const CryByteLocation& location);

// How the cry byte was found ("known release", "found by the title screen's
// code"), or why none was ("the title screen's code is not in the image").
std::string FindingText(const CryByteLocation& location);

}  // namespace vantrel
