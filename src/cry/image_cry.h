#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "image_format/cry_locator.h"
#include "image_format/cry_sound.h"
#include "runtime/byte_source.h"

namespace vantrel {

// An image's cry byte and its value, and its cry table when asked for, found
// in one reading of the image.
struct CryReading {
  CryByteLocation location;
  std::optional<std::uint8_t> value;  // when the cry byte was found
};

// Finds the image's cry byte and reads it, and, when asked, its cry table: a
// reader that shows only the cry skips the search for a table that is not
// where the release keeps it. By path the image is opened read-only once.
// File failures are raised.
CryReading ReadImageCry(ByteSource& image, bool with_cry_table = true);
CryReading ReadImageCry(const std::filesystem::path& path, bool with_cry_table = true);

// What a write found, and where it wrote what.
struct CryWriting {
  CryByteLocation location;
  std::optional<std::int64_t> written_at;  // nothing when it refused
};

// Where a write of `value`, or of the image's stock cry when `value` is empty,
// goes in `image` as it is now, and the bytes it puts there from `at` on:
// nothing where no cry byte is found, unless `force`; then CryOffset. For a
// front end that writes the bytes itself.
struct CryWritePlan {
  CryByteLocation location;
  std::optional<std::int64_t> at;
  std::vector<std::uint8_t> bytes;
};
CryWritePlan PlanCryWrite(ByteSource& image, std::optional<std::uint8_t> value, bool force = false);

// Opens the image to write, finds its cry byte through that same open file
// and writes `value` there, or the image's stock cry when `value` is empty;
// so the byte lands in the file checked even when another is renamed into
// its place meanwhile. Where no cry byte is found nothing is written, unless
// `force`: then CryOffset is. File failures are raised.
CryWriting WriteImageCry(const std::filesystem::path& path, std::optional<std::uint8_t> value,
                         bool force = false);
// The same on an image held in memory, for a front end that saves it whole.
CryWriting WriteImageCry(std::span<std::uint8_t> image, std::optional<std::uint8_t> value,
                         bool force = false);

// A species' cry as the image holds it.
struct ImageCrySound {
  int species = 0;
  CrySound sound;
};

// The cry of `species`, or of the species the title screen plays when it is
// empty, from the image as it is now (by path, opened read-only).
// File failures raise RuntimeError; an image with no cry table, no species
// on its title screen, or a table or wave that cannot be played raises
// CryDataError, whose text starts with the cry it is about.
ImageCrySound ReadImageCrySound(ByteSource& image, std::optional<int> species);
ImageCrySound ReadImageCrySound(const std::filesystem::path& path, std::optional<int> species);

}  // namespace vantrel
