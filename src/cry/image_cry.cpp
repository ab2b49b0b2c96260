#include "cry/image_cry.h"

#include <string>

#include "cry/cry_slot.h"
#include "cry/species_list.h"

namespace vantrel {

CryReading ReadImageCry(const std::filesystem::path& path) {
  BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kRead);
  CryReading reading{LocateCryByte(file), std::nullopt};
  if (reading.location.offset) reading.value = ReadCry(file, *reading.location.offset);
  file.Close();
  return reading;
}

CryWriting WriteImageCry(const std::filesystem::path& path, std::optional<std::uint8_t> value,
                         bool force) {
  BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kReadWrite);
  CryWriting writing{LocateCryByte(file), std::nullopt, 0};
  writing.value = value.value_or(writing.location.stock);
  const std::optional<std::int64_t> at =
      force ? writing.location.offset.value_or(CryOffset) : writing.location.offset;
  if (at) {
    WriteCry(file, *at, writing.value);
    writing.written_at = at;
  }
  file.Close();
  return writing;
}

const CryTableWords* CryTableOf(const CryByteLocation& location) {
  return location.at_release_offset ? &location.release->cry_table : nullptr;
}

ImageCrySound ReadImageCrySound(const std::filesystem::path& path, std::optional<int> species) {
  BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kRead);
  const CryByteLocation location = LocateCryByte(file);
  const CryTableWords* table = CryTableOf(location);
  if (table == nullptr) {
    throw CryDataError(
        "no cry table: Vantrel knows where it is only in FireRed and LeafGreen 1.0 and 1.1 "
        "with their title screen's code in place, and this image is " +
        ReleaseText(location));
  }
  if (!species) {
    const std::uint8_t played = ReadCry(file, *location.offset);
    if (played == NoCry) throw CryDataError("the title screen plays no cry");
    if (played > kSpeciesCount) {
      throw CryDataError("the title screen's cry byte, " + std::to_string(played) +
                         ", names no species");
    }
    species = played;
  }
  ImageCrySound cry{*species, DecodeCry(file, *table, *species)};
  file.Close();
  return cry;
}

}  // namespace vantrel
