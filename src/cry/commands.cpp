#include "cry/commands.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "cry/cry_slot.h"
#include "cry/image_header.h"
#include "cry/species_list.h"
#include "image_bytes/failure_box.h"
#include "runtime/binary_file.h"
#include "runtime/error.h"
#include "runtime/message_box.h"
#include "runtime/path_text.h"

namespace vantrel {
namespace {

// Shows the success box only after a write that reached the disk.
void WriteAndReport(const WindowState& window, std::uint8_t value, std::string_view success) {
  if (WriteCry(PathFromUtf8(window.RomPath()), value)) MsgBox(success);
}

// A dialog that changes the current folder must not move the image opened:
// a name given relative to it is kept absolute.
std::string Absolute(const std::string& path) {
  std::error_code failed;
  const std::filesystem::path absolute = std::filesystem::absolute(PathFromUtf8(path), failed);
  return failed ? path : Utf8FromPath(absolute);
}

// The header of the image at `path`; a failure is shown in the failure box
// and raised again.
ImageHeader ReadHeader(const std::string& path) {
  try {
    BinaryFile file = BinaryFile::Open(PathFromUtf8(path), BinaryFile::Access::kRead);
    const ImageHeader header = ReadImageHeader(file);
    file.Close();
    return header;
  } catch (const RuntimeError& error) {
    ShowFailureBox(error);
    throw;
  }
}

// In any other game's image the byte at the cry offset is part of the game,
// which a Save would damage: what was found, for the box shown before the
// image opens. Nothing for a FireRed English image of the first release.
std::optional<std::string> ForeignImageWarning(const ImageHeader& header) {
  std::string found;
  if (const std::optional<std::string> problem = NotFireRedEnglish(header)) {
    found = "This is not a FireRed English image: " + *problem + ".";
  } else if (const std::optional<std::string> later = LaterRelease(header)) {
    found = "This image " + *later + ".";
  } else {
    return std::nullopt;
  }
  return found + " Writing its cry byte may damage it.";
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
  ImageHeader header;
  try {
    value = ReadCry(PathFromUtf8(path));
    header = ReadHeader(path);
  } catch (const RuntimeError&) {
    return;  // the read has shown its failure box
  }
  if (const std::optional<std::string> warning = ForeignImageWarning(header)) MsgBox(*warning);
  window_.SetRomPath(Absolute(path));
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
