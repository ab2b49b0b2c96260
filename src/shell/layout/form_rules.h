#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "api/vantrel.h"
#include "shell/layout/form_layout.h"

// How the main window behaves, over the layout table: the same in every
// front end, which only renders it.
namespace vantrel::layout {

// The buttons and the list take the focus; the labels and the picture never
// do.
constexpr bool TakesFocus(const Control& control) {
  return control.kind == ControlKind::kCommandButton || control.kind == ControlKind::kDropDownList;
}

// The controls that take the focus, in the order Tab visits them.
// Built without ranges algorithms or a sort at compile time, which the web
// build's standard library lacks.
inline constexpr auto kTabOrder = [] {
  std::array<const Control*, std::count_if(kControls.begin(), kControls.end(), TakesFocus)> order{};
  std::size_t next = 0;
  for (int tab_index = 0; next < order.size(); ++tab_index) {
    for (const Control& control : kControls) {
      if (TakesFocus(control) && control.tab_index == tab_index) order[next++] = &control;
    }
  }
  return order;
}();

// The buttons that run the editing commands.
inline constexpr ControlName kOpenButton = "cmdOpen";
inline constexpr ControlName kSaveButton = "cmdSave";
inline constexpr ControlName kRemoveButton = "Command1";
inline constexpr ControlName kRestoreButton = "cryRestore";

// The species list. A screen reader announces it by this label's caption.
inline constexpr ControlName kNamedList = "cmbPoke";
inline constexpr ControlName kListLabel = "Label1";

// The title picture, drawn over the whole of its place.
inline constexpr ControlName kTitlePicture = "Image1";

// The button that plays the selected species' cry: the core enables it and
// gives it its tooltip. A screen reader announces it by this name rather
// than by its caption alone.
inline constexpr ControlName kPlayButton = "cmdPlay";
inline constexpr std::string_view kPlayButtonName = "Play cry";

// The controls that work on the open image: Open enables them when it finds
// the image's cry byte and disables them when it does not, and each names
// that image in its tooltip.
inline constexpr std::array<ControlName, 4> kImageControls{kNamedList, kSaveButton, kRemoveButton,
                                                           kRestoreButton};

// Which button runs which command.
struct Click {
  ControlName button;
  void (EditingCommands::*command)();
};
inline constexpr std::array<Click, 5> kClicks{{{kOpenButton, &EditingCommands::Open},
                                               {kSaveButton, &EditingCommands::Save},
                                               {kRemoveButton, &EditingCommands::Remove},
                                               {kRestoreButton, &EditingCommands::Restore},
                                               {kPlayButton, &EditingCommands::Play}}};

}  // namespace vantrel::layout
