#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "cry/cry_locator.h"
#include "cry/cry_sound.h"

namespace vantrel {

// An image's cry byte and its value, and its cry table, found through one
// read-only open.
struct CryReading {
  CryByteLocation location;
  std::optional<std::uint8_t> value;  // when the cry byte was found
  std::optional<CryTableWords> cry_table;
};

// Opens the image read-only, finds its cry byte and reads it, and finds its
// cry table. File failures are raised.
CryReading ReadImageCry(const std::filesystem::path& path);

// Opens the image read-only and decodes the cry of `species` through the
// cry table `table`. File failures are raised, and so is CryDataError for a
// table or wave that cannot be played.
CrySound ReadImageCrySound(const std::filesystem::path& path, const CryTableWords& table,
                           int species);

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

}  // namespace vantrel
