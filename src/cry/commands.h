#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cry/cry_player.h"
#include "cry/image_store.h"
#include "cry/species_list.h"
#include "cry/window_state.h"
#include "dialogs/cls_common_dialog.h"
#include "image_format/cry_locator.h"

namespace vantrel {

inline constexpr std::string_view kOpenDialogTitle = "Open Pokemon GBA ROM...";
inline constexpr std::string_view kRomFilter = "GBA ROMs (*.gba)|*.gba";
inline constexpr std::uint32_t kOpenFlags =
    kOfnHideReadOnly | kOfnPathMustExist | kOfnFileMustExist;  // 0x1804

// Makes a fresh dialog object for every Open, so nothing carries over.
using DialogFactory = std::function<std::unique_ptr<clsCommonDialog>()>;

// The commands behind the window's buttons. Each that writes reports
// success in a box titled with the application's title, and only once its
// work is done; file failures have been shown in the failure box by then.
class EditingCommands {
 public:
  EditingCommands(WindowState& window, DialogFactory make_dialog, CryPlayer& player,
                  ImageStore& store = FileImages())
      : window_(window),
        make_dialog_(std::move(make_dialog)),
        player_(player),
        store_(store),
        names_(SpeciesList().begin(), SpeciesList().end()) {}

  // Asks for an image and opens it. Cancel changes nothing.
  void Open();
  // Opens `path` as if the user had chosen it in the open dialog, and keeps
  // the name the store gives it. An image that cannot be read leaves the
  // window state as it was; one whose cry byte cannot be found is not
  // opened, and leaves nothing open to write; one whose title screen's code
  // is half written is opened with nothing selected, for a write to mend.
  void OpenPath(const std::string& path);
  // Writes the selected species (0 with nothing selected).
  void Save();
  // Writes 0: no cry.
  void Remove();
  // Writes the image's stock cry, whatever the list shows.
  void Restore();
  // Plays the selected species' cry from the open image, saved or not,
  // without waiting for it to end. Only an image whose cry table Open found
  // has one to play.
  void Play();
  // The front end calls this when the user picks another species, so that
  // Play follows the list.
  void SelectionChanged();
  // Says that no sound can be played, and why: Play does when its player
  // refuses, a front end whose player fails later calls it then.
  void ShowNoSound(const std::string& reason);

 private:
  // Writes national species `species`, or the stock cry when it is empty,
  // where the image's cry byte is found at the time of the write.
  void Write(std::optional<int> species, std::string_view success);
  void CloseImageWithoutCryByte(const CryByteLocation& location);
  // Shows `names` in the list, where it shows others.
  void ShowNames(const std::vector<std::string>& names);
  // The species whose cry Play would play, if any.
  std::optional<int> SpeciesToPlay() const;
  void ShowPlayState();

  WindowState& window_;
  DialogFactory make_dialog_;
  CryPlayer& player_;
  ImageStore& store_;
  // Whether Open found the open image's cry table.
  bool has_cry_table_ = false;
  // The species as the list shows them: the open image's names, else the
  // built-in ones.
  std::vector<std::string> names_;
};

}  // namespace vantrel
