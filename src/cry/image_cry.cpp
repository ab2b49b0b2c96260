#include "cry/image_cry.h"

#include <string>

#include "cry/cry_slot.h"
#include "cry/species_list.h"
#include "runtime/error.h"

namespace vantrel {
namespace {

// Where a write puts the cry byte: where it was found, or, forced, where the
// first releases keep it.
std::optional<std::int64_t> WritePlace(const CryByteLocation& location, bool force) {
  return force ? location.offset.value_or(CryOffset) : location.offset;
}

}  // namespace

CryReading ReadImageCry(ByteSource& image, bool with_cry_table) {
  CryReading reading{with_cry_table ? LocateCryByteAndTable(image) : LocateCryByte(image),
                     std::nullopt};
  if (reading.location.offset) reading.value = ReadCry(image, *reading.location.offset);
  return reading;
}

CryReading ReadImageCry(const std::filesystem::path& path, bool with_cry_table) {
  BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kRead);
  CryReading reading = ReadImageCry(file, with_cry_table);
  file.Close();
  return reading;
}

CryWriting WriteImageCry(const std::filesystem::path& path, std::optional<std::uint8_t> value,
                         bool force) {
  BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kReadWrite);
  CryWriting writing{LocateCryByte(file), std::nullopt};
  const std::optional<std::int64_t> at = WritePlace(writing.location, force);
  if (at) {
    WriteCry(file, *at, value.value_or(writing.location.stock));
    writing.written_at = at;
  }
  file.Close();
  return writing;
}

CryWriting WriteImageCry(std::span<std::uint8_t> image, std::optional<std::uint8_t> value,
                         bool force) {
  MemoryBytes bytes(image);
  CryWriting writing{LocateCryByte(bytes), std::nullopt};
  const std::optional<std::int64_t> at = WritePlace(writing.location, force);
  if (at) {
    // As a file does, an image held in memory never grows.
    if (*at >= bytes.Size()) throw RuntimeError(kWritePastEndOfFile);
    image[static_cast<std::size_t>(*at)] = value.value_or(writing.location.stock);
    writing.written_at = at;
  }
  return writing;
}

ImageCrySound ReadImageCrySound(ByteSource& file, std::optional<int> species) {
  const CryByteLocation location = LocateCryByteAndTable(file);
  const std::string cry = species ? std::string(SpeciesName(*species)) + "'s cry"
                                  : std::string("the title screen's cry");
  const std::optional<CryTableWords>& table = location.cry_table.words;
  if (!table) {
    throw CryDataError(cry + ": the image has no cry table Vantrel can find (" +
                       CryTableFindingText(location.cry_table) + "; this image is " +
                       ReleaseText(location) + ")");
  }
  if (!location.offset && !species) {
    throw CryDataError(cry + ": the image has no cry byte (" + FindingText(location) + ")");
  }
  if (!species) {
    const std::uint8_t played = ReadCry(file, *location.offset);
    if (played == NoCry) throw CryDataError(cry + ": there is none, the cry byte is 0");
    if (played > kSpeciesCount) {
      throw CryDataError(cry + ": the cry byte, " + std::to_string(played) + ", names no species");
    }
    species = played;
  }
  ImageCrySound sound{*species, {}};
  try {
    sound.sound = DecodeCry(file, *table, *species);
  } catch (const CryDataError& error) {
    throw CryDataError(std::string(SpeciesName(*species)) + "'s cry: " + error.what());
  }
  return sound;
}

ImageCrySound ReadImageCrySound(const std::filesystem::path& path, std::optional<int> species) {
  BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kRead);
  ImageCrySound sound = ReadImageCrySound(file, species);
  file.Close();
  return sound;
}

}  // namespace vantrel
