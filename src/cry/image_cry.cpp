#include "cry/image_cry.h"

#include <string>

#include "cry/cry_slot.h"
#include "cry/species_list.h"

namespace vantrel {

CryReading ReadImageCry(const std::filesystem::path& path, bool with_cry_table) {
  BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kRead);
  CryReading reading{with_cry_table ? LocateCryByteAndTable(file) : LocateCryByte(file),
                     std::nullopt};
  if (reading.location.offset) reading.value = ReadCry(file, *reading.location.offset);
  file.Close();
  return reading;
}

CryWriting WriteImageCry(const std::filesystem::path& path, std::optional<std::uint8_t> value,
                         bool force) {
  BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kReadWrite);
  CryWriting writing{LocateCryByte(file), std::nullopt};
  const std::optional<std::int64_t> at =
      force ? writing.location.offset.value_or(CryOffset) : writing.location.offset;
  if (at) {
    WriteCry(file, *at, value.value_or(writing.location.stock));
    writing.written_at = at;
  }
  file.Close();
  return writing;
}

ImageCrySound ReadImageCrySound(const std::filesystem::path& path, std::optional<int> species) {
  BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kRead);
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
  file.Close();
  return sound;
}

}  // namespace vantrel
