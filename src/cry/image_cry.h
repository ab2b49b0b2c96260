#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image_format/cry_locator.h"
#include "image_format/cry_sound.h"
#include "image_format/name_table.h"
#include "runtime/byte_source.h"

namespace vantrel {

// The names an image gives its species, and the list shown for it: the
// image's own, or the built-in ones where its table cannot be used.
struct ImageNames {
  NameTable table;
  std::vector<std::string> shown;
};

// Reads the image's header and names table. By path the image is opened
// read-only once. File failures are raised.
ImageNames ReadImageNames(ByteSource& image);
ImageNames ReadImageNames(const std::filesystem::path& path);

// An image's cry byte and the species its title screen's code names, its
// names, and its cry table when asked for, found in one reading of the
// image.
struct CryReading {
  CryByteLocation location;
  // When the code was found: the game's internal species number, 0 for no
  // cry (a national number up to 251).
  std::optional<std::uint16_t> value;
  ImageNames names;
};

// Finds the image's cry byte and reads it, and, when asked, its cry table: a
// reader that shows only the cry skips the search for a table that is not
// where the release keeps it. By path the image is opened read-only once.
// File failures are raised.
CryReading ReadImageCry(ByteSource& image, bool with_cry_table = true);
CryReading ReadImageCry(const std::filesystem::path& path, bool with_cry_table = true);

// A write of national species `species` (0 for no cry), or of the image's
// stock cry when it is empty: what it found, and where it puts what.
// - Where the title screen's code stands (or is half written), a species up
//   to 251 in the stock form is the one cry byte; any other write puts the
//   whole window in the form the species needs, from `at`.
// - Where it does not, nothing, unless `force`: then the one byte at
//   CryOffset, for a species that fits it (`needs_code` where none does).
struct CryWriting {
  CryByteLocation location;
  std::optional<std::int64_t> at;  // nothing when it refused
  std::vector<std::uint8_t> bytes;
  // The form the window was rewritten in, where the write puts it whole.
  std::optional<TitleScreenForm> rewritten;
  bool needs_code = false;
};

// What a write would do in `image` as it is now, for a front end that
// writes the bytes itself.
CryWriting PlanCryWrite(ByteSource& image, std::optional<int> species, bool force = false);

// Opens the image to write, finds its cry byte through that same open file
// and writes there as PlanCryWrite plans, so that the bytes land in the file
// checked even when another is renamed into its place meanwhile. File
// failures are raised.
CryWriting WriteImageCry(const std::filesystem::path& path, std::optional<int> species,
                         bool force = false);
// The same on an image held in memory, for a front end that saves it whole.
CryWriting WriteImageCry(std::span<std::uint8_t> image, std::optional<int> species,
                         bool force = false);
// The same for the species `choose` picks from the image's names, read
// through the same open file; nothing when it picks none, and nothing is
// written then.
using SpeciesChooser = std::function<std::optional<int>(const ImageNames&)>;
std::optional<CryWriting> WriteImageCry(const std::filesystem::path& path,
                                        const SpeciesChooser& choose, bool force = false);

// A species' cry as the image holds it, and its name as the image gives it.
struct ImageCrySound {
  int species = 0;
  std::string name;
  CrySound sound;
};

// The cry of `species`, or of the species the title screen plays when it is
// empty, from the image as it is now (by path, opened read-only).
// File failures raise RuntimeError; an image with no cry table, no species
// on its title screen, or a table or wave that cannot be played raises
// CryDataError, whose text starts with the cry it is about, named as the
// image names it.
ImageCrySound ReadImageCrySound(ByteSource& image, std::optional<int> species);
ImageCrySound ReadImageCrySound(const std::filesystem::path& path, std::optional<int> species);

}  // namespace vantrel
