#include "cry/commands.h"

#include <variant>

#include "cry/cry_slot.h"
#include "cry/species_list.h"
#include "image_format/cry_sound.h"
#include "image_format/species_numbers.h"
#include "runtime/error.h"
#include "runtime/failure_box.h"
#include "runtime/message_box.h"

namespace vantrel {
namespace {

// Runs `work` on the image; a file failure is shown in the failure box and
// gives nothing.
template <typename Work>
auto ShowingFileFailure(Work work) -> std::optional<decltype(work())> {
  try {
    return work();
  } catch (const RuntimeError& error) {
    ShowFailureBox(error);
    return std::nullopt;
  }
}

}  // namespace

void EditingCommands::Open() {
  const std::unique_ptr<clsCommonDialog> dialog = make_dialog_();
  const std::string path =
      dialog->ShowOpen(window_.OwnerHandle(), kOpenDialogTitle, "", kRomFilter, kOpenFlags);
  if (!path.empty()) OpenPath(path);
}

void EditingCommands::OpenPath(const std::string& path) {
  const std::optional<CryReading> reading = ShowingFileFailure([&] { return store_.Read(path); });
  if (!reading) return;
  const CryByteLocation& location = reading->location;
  if (!reading->value && !location.half_written) {
    CloseImageWithoutCryByte(location);
    return;
  }
  has_cry_table_ = location.cry_table.words.has_value();
  window_.SetRomPath(store_.Kept(path));
  ShowNames(reading->names.shown);
  // A value that names no species (a placeholder, a number past the last)
  // shows no entry, as "no cry" does; so does a window half written.
  const std::optional<int> species = NationalNumberOf(reading->value.value_or(NoCry));
  window_.SetSelection(species ? PositionOfValue(*species) : std::int16_t{-1});
  // Any write puts the window whole again, so the image stays open to one.
  window_.SetEditingEnabled(true);
  ShowPlayState();
  if (!reading->value) {
    MsgBox("In this image, " + FindingText(location) +
           ". Save ROM, Remove Cry or Restore Removed Cry writes it whole again.");
    return;
  }
  MsgBox("ROM opened successfully!");
}

// Any other byte of the image is part of the game, which a write would
// damage: with no cry byte found, the window keeps nothing open to write.
void EditingCommands::CloseImageWithoutCryByte(const CryByteLocation& location) {
  has_cry_table_ = false;
  window_.SetEditingEnabled(false);
  ShowNames({SpeciesList().begin(), SpeciesList().end()});
  window_.SetSelection(-1);
  window_.SetRomPath("");
  ShowPlayState();
  MsgBox("Vantrel cannot find the title screen's cry byte in this image (" + FindingText(location) +
         ") and will not write to it.");
}

// Most images show the names shown already: the list is refilled only when
// they change.
void EditingCommands::ShowNames(const std::vector<std::string>& names) {
  if (names == names_) return;
  names_ = names;
  window_.SetSpeciesList(names_);
}

// The image is opened anew for each write, so the cry byte is found again
// through the file written: the image may have been changed since Open.
// Success is shown only once the byte is on disk.
void EditingCommands::Write(std::optional<int> species, std::string_view success) {
  store_.Write(window_.RomPath(), species,
               [this, success](const ImageStore::WriteOutcome& outcome) {
                 if (const auto* error = std::get_if<RuntimeError>(&outcome)) {
                   ShowFailureBox(*error);
                   return;
                 }
                 const CryWriting& writing = std::get<CryWriting>(outcome);
                 if (!writing.at) {
                   CloseImageWithoutCryByte(writing.location);
                   return;
                 }
                 MsgBox(success);
               });
}

void EditingCommands::Save() {
  Write(ValueOfPosition(window_.Selection()), "ROM saved successfully!");
}

void EditingCommands::Remove() {
  Write(NoCry, "Cry removed successfully!");
}

void EditingCommands::Restore() {
  Write(std::nullopt, "Cry restored successfully!");
}

// The image is read anew, so the cry played is the image's as it is now.
void EditingCommands::Play() {
  const std::optional<int> species = SpeciesToPlay();
  if (!species) return;
  CrySound sound;
  try {
    sound = store_.ReadSound(window_.RomPath(), *species).sound;
  } catch (const RuntimeError& error) {
    ShowFailureBox(error);
    return;
  } catch (const CryDataError& error) {
    MsgBox("Vantrel cannot play " + std::string(error.what()) + ".");
    return;
  }
  try {
    player_.Play(sound);
  } catch (const NoSoundError& error) {
    ShowNoSound(error.what());
  }
}

void EditingCommands::ShowNoSound(const std::string& reason) {
  MsgBox("Vantrel cannot play sound: " + reason + ".");
}

void EditingCommands::SelectionChanged() {
  ShowPlayState();
}

std::optional<int> EditingCommands::SpeciesToPlay() const {
  const std::int16_t position = window_.Selection();
  if (!has_cry_table_ || position < 0 || position >= kSpeciesCount) {
    return std::nullopt;
  }
  return ValueOfPosition(position);
}

void EditingCommands::ShowPlayState() {
  const std::optional<int> species = SpeciesToPlay();
  if (!species) {
    window_.SetPlayState(false, "");
    return;
  }
  const std::string_view name = SentenceName(names_[static_cast<std::size_t>(*species - 1)]);
  window_.SetPlayState(true, "Play " + std::string(name) + "'s cry from " + window_.RomPath());
}

}  // namespace vantrel
