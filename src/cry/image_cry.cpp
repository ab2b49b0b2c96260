#include "cry/image_cry.h"

#include <algorithm>
#include <string>

#include "cry/cry_slot.h"
#include "cry/species_list.h"
#include "runtime/error.h"

namespace vantrel {
namespace {

// The value the title screen's code found at `location` names.
std::uint16_t ReadValue(ByteSource& image, const CryByteLocation& location) {
  return location.form == TitleScreenForm::kWide ? ReadWideCry(image, *location.offset)
                                                 : ReadCry(image, *location.offset);
}

ImageNames NamesOf(ByteSource& image, const ImageHeader& header) {
  ImageNames names{ReadNameTable(image, header), {}};
  names.shown = ShownNames(names.table);
  return names;
}

}  // namespace

ImageNames ReadImageNames(ByteSource& image) {
  return NamesOf(image, ReadImageHeader(image));
}

CryReading ReadImageCry(ByteSource& image, bool with_cry_table) {
  CryReading reading{
      with_cry_table ? LocateCryByteAndTable(image) : LocateCryByte(image), std::nullopt, {}};
  if (reading.location.offset) reading.value = ReadValue(image, reading.location);
  reading.names = NamesOf(image, reading.location.header);
  return reading;
}

CryWriting PlanCryWrite(ByteSource& image, std::optional<int> species, bool force) {
  CryWriting plan{LocateCryByte(image), std::nullopt, {}, std::nullopt, false};
  const CryByteLocation& location = plan.location;
  const int value = InternalNumberOf(species.value_or(location.stock));
  const TitleScreenForm form = FormFor(value);
  const std::optional<std::int64_t> place =
      location.offset ? location.offset : location.half_written;
  if (place && location.offset && location.form == form && form == TitleScreenForm::kStock) {
    plan.at = *place;
    plan.bytes = {static_cast<std::uint8_t>(value)};
  } else if (place) {
    const auto window = TitleWindowOf(form, value);
    plan.at = *place - kTitleWindowBeforeCryByte;
    plan.bytes.assign(window.begin(), window.end());
    plan.rewritten = form;
  } else if (force && form == TitleScreenForm::kStock) {
    // Forced, the byte goes where the first releases keep it.
    plan.at = CryOffset;
    plan.bytes = {static_cast<std::uint8_t>(value)};
  } else {
    plan.needs_code = force;
  }
  return plan;
}

CryWriting WriteImageCry(std::span<std::uint8_t> image, std::optional<int> species, bool force) {
  MemoryBytes bytes(image);
  const CryWriting plan = PlanCryWrite(bytes, species, force);
  if (plan.at) {
    // As a file does, an image held in memory never grows.
    if (*plan.at + static_cast<std::int64_t>(plan.bytes.size()) > bytes.Size()) {
      throw RuntimeError(kWritePastEndOfFile);
    }
    std::copy(plan.bytes.begin(), plan.bytes.end(), image.begin() + *plan.at);
  }
  return plan;
}

ImageCrySound ReadImageCrySound(ByteSource& file, std::optional<int> species) {
  const CryByteLocation location = LocateCryByteAndTable(file);
  const std::vector<std::string> names = NamesOf(file, location.header).shown;
  const auto name_of = [&](int number) {
    return std::string(SentenceName(names[static_cast<std::size_t>(number - 1)]));
  };
  const std::string cry = species ? name_of(*species) + "'s cry" : "the title screen's cry";
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
    const std::uint16_t played = ReadValue(file, location);
    if (played == NoCry) throw CryDataError(cry + ": there is none, the cry byte is 0");
    species = NationalNumberOf(played);
    if (!species) {
      const std::string holder = location.form == TitleScreenForm::kWide
                                     ? "the title screen's code's species"
                                     : "the cry byte";
      throw CryDataError(cry + ": " + holder + ", " + std::to_string(played) +
                         ", names no species");
    }
  }
  ImageCrySound sound{*species, name_of(*species), {}};
  try {
    sound.sound = DecodeCry(file, *table, *species);
  } catch (const CryDataError& error) {
    throw CryDataError(sound.name + "'s cry: " + error.what());
  }
  return sound;
}

}  // namespace vantrel
