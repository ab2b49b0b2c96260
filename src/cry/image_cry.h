#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "cry/cry_locator.h"
#include "cry/cry_sound.h"

namespace vantrel {

// An image's cry byte and its value, found through one read-only open.
struct CryReading {
  CryByteLocation location;
  std::optional<std::uint8_t> value;  // when the cry byte was found
};

// Opens the image read-only, finds its cry byte and reads it. File failures
// are raised.
CryReading ReadImageCry(const std::filesystem::path& path);

// What a write found, and where it wrote what.
struct CryWriting {
  CryByteLocation location;
  std::optional<std::int64_t> written_at;  // nothing when it refused
  std::uint8_t value = 0;
};

// Opens the image to write, finds its cry byte through that same open file
// and writes `value` there, or the image's stock cry when `value` is empty;
// so the byte lands in the file checked even when another is renamed into
// its place meanwhile. Where no cry byte is found nothing is written, unless
// `force`: then CryOffset is. File failures are raised.
CryWriting WriteImageCry(const std::filesystem::path& path, std::optional<std::uint8_t> value,
                         bool force = false);

// A species' cry as the image holds it.
struct ImageCrySound {
  int species = 0;
  CrySound sound;
};

// Whether the image's cry table can be found: its words are where its
// release keeps them, known only when the release's title-screen code was
// found where that release has it.
const CryTableWords* CryTableOf(const CryByteLocation& location);

// The cry of `species`, or of the species the title screen plays when it is
// empty, from the image at `path`, opened read-only. File failures raise
// RuntimeError; an image with no cry table, no cry byte to take the species
// from, or a table or wave that cannot be played raises CryDataError.
ImageCrySound ReadImageCrySound(const std::filesystem::path& path, std::optional<int> species);

}  // namespace vantrel
