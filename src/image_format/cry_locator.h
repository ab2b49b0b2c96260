#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "image_format/image_header.h"
#include "image_format/releases.h"
#include "image_format/title_screen_code.h"
#include "runtime/byte_source.h"

namespace vantrel {

// Where an image keeps its cry table's address, and how that was found.
struct CryTableLocation {
  // The cry call's two words: where the named release keeps them, when the
  // cry call's code stands there; else wherever that code stands, when it
  // does so once. Kept only when both point inside the image.
  std::optional<CryTableWords> words;
  // Where they point, as file offsets: the table's two blocks.
  std::int64_t block0 = 0;
  std::int64_t block1 = 0;
  bool at_release_words = false;
  // How often the cry call's code was met, counted up to 2.
  int copies_found = 0;
};

// Where an image keeps its cry byte, and how that was found.
struct CryByteLocation {
  ImageHeader header;
  // The release the header names, when it is one whose code is known.
  const Release* release = nullptr;
  // The cry byte: where the named release keeps it, when its title-screen
  // code stands there; else wherever that code stands, when it does so once.
  std::optional<std::int64_t> offset;
  // The form the code stands in there.
  TitleScreenForm form = TitleScreenForm::kStock;
  bool at_release_offset = false;
  // Where the named release keeps the cry byte, when its code stands there
  // neither stock nor wide but each of its bytes as the one or the other
  // has it: a write cut short. Writing either form there whole mends it.
  std::optional<std::int64_t> half_written;
  // How often the title screen's code was met, counted up to 2: 0 or 2 when
  // no cry byte was found.
  int copies_found = 0;
  // The image's stock cry, Restore's value.
  std::uint8_t stock = 0;
  // Found by LocateCryByteAndTable only.
  CryTableLocation cry_table;
};

// A cartridge maps at most 32 MiB: code past that is never run.
inline constexpr std::int64_t kCartridgeSize = std::int64_t{32} << 20;

// Finds the cry byte of an open image: its header and the title screen's 24
// bytes for a known release, else one pass over the first 32 MiB in large
// blocks for either form. Failures to read are raised.
CryByteLocation LocateCryByte(ByteSource& file);

// Finds the cry byte and the cry table: for a known release its header, the
// 24 bytes and the cry call's code with its words; whatever is not where the
// release keeps it is searched for in the same one pass.
CryByteLocation LocateCryByteAndTable(ByteSource& file);

// "FireRed 1.1 (BPRE, version 1)", or "unknown release (AXVE, version 0)".
std::string ReleaseText(const CryByteLocation& location);

// How the cry byte was found ("known release", "found by the title screen's
// code"), or why none was ("the title screen's code is not in the image").
std::string FindingText(const CryByteLocation& location);

// The same for the cry table ("found by the cry call's code").
std::string CryTableFindingText(const CryTableLocation& location);

}  // namespace vantrel
