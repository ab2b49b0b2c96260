#include "cry/image_cry.h"

#include "cry/cry_slot.h"
#include "cry/cry_table.h"

namespace vantrel {

CryReading ReadImageCry(const std::filesystem::path& path) {
  BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kRead);
  CryReading reading{LocateCryByte(file), std::nullopt, std::nullopt};
  if (reading.location.offset) {
    reading.value = ReadCry(file, *reading.location.offset);
    reading.cry_table = FindCryTable(file, reading.location);
  }
  file.Close();
  return reading;
}

CrySound ReadImageCrySound(const std::filesystem::path& path, const CryTableWords& table,
                           int species) {
  BinaryFile file = BinaryFile::Open(path, BinaryFile::Access::kRead);
  CrySound sound = DecodeCry(file, table, species);
  file.Close();
  return sound;
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

}  // namespace vantrel
