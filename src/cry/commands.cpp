#include "cry/commands.h"

#include "cry/cry_slot.h"
#include "cry/species_list.h"
#include "runtime/error.h"
#include "runtime/message_box.h"
#include "runtime/path_text.h"

namespace vantrel {
namespace {

// Shows the success box only after a write that reached the disk.
void WriteAndReport(const WindowState& window, std::uint8_t value, std::string_view success) {
  if (WriteCry(PathFromUtf8(window.RomPath()), value)) MsgBox(success);
}

}  // namespace

void EditingCommands::Open() {
  const std::unique_ptr<clsCommonDialog> dialog = make_dialog_();
  const std::string path =
      dialog->ShowOpen(window_.OwnerHandle(), kOpenDialogTitle, "", kRomFilter, kOpenFlags);
  if (!path.empty()) OpenPath(path);
}

void EditingCommands::OpenPath(const std::string& path) {
  std::uint8_t value;
  try {
    value = ReadCry(PathFromUtf8(path));
  } catch (const RuntimeError&) {
    return;  // the read has shown its failure box
  }
  window_.SetRomPath(path);
  // 252 to 255 name no entry: show none, as for "no cry".
  window_.SetSelection(value <= kSpeciesCount ? PositionOfValue(value) : std::int16_t{-1});
  window_.EnableEditing();
  MsgBox("ROM opened successfully!");
}

void EditingCommands::Save() {
  WriteAndReport(window_, static_cast<std::uint8_t>(ValueOfPosition(window_.Selection())),
                 "ROM saved successfully!");
}

void EditingCommands::Remove() {
  WriteAndReport(window_, NoCry, "Cry removed successfully!");
}

void EditingCommands::Restore() {
  WriteAndReport(window_, RestoreCry, "Cry restored successfully!");
}

}  // namespace vantrel
