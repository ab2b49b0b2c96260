#include "cry/image_cry.h"

#include <algorithm>
#include <string>

#include "cry/cry_slot.h"
#include "cry/species_list.h"
#include "runtime/error.h"

namespace vantrel {

CryReading ReadImageCry(ByteSource& image, bool with_cry_table) {
  CryReading reading{with_cry_table ? LocateCryByteAndTable(image) : LocateCryByte(image),
                     std::nullopt};
  if (reading.location.offset) reading.value = ReadCry(image, *reading.location.offset);
  return reading;
}

// Forced, the byte goes where the first releases keep it.
CryWritePlan PlanCryWrite(ByteSource& image, std::optional<std::uint8_t> value, bool force) {
  CryWritePlan plan{LocateCryByte(image), std::nullopt, {}};
  plan.at = force ? plan.location.offset.value_or(CryOffset) : plan.location.offset;
  plan.bytes = {value.value_or(plan.location.stock)};
  return plan;
}

CryWriting WriteImageCry(std::span<std::uint8_t> image, std::optional<std::uint8_t> value,
                         bool force) {
  MemoryBytes bytes(image);
  const CryWritePlan plan = PlanCryWrite(bytes, value, force);
  if (plan.at) {
    // As a file does, an image held in memory never grows.
    if (*plan.at + static_cast<std::int64_t>(plan.bytes.size()) > bytes.Size()) {
      throw RuntimeError(kWritePastEndOfFile);
    }
    std::copy(plan.bytes.begin(), plan.bytes.end(), image.begin() + *plan.at);
  }
  return {plan.location, plan.at};
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

}  // namespace vantrel
