#pragma once

#include <string>

namespace vantrel::web {

// The window the page renders, as JSON, which the build puts into the
// page's script: its caption, size and font, each
// control of the layout table in stacking order with its place in pixels,
// caption, font, colours, tab order and state at start, which controls the
// rules name (the list and its label, Play and its name for a screen
// reader, the picture, the controls that work on the image, which button
// runs which command), the species list, and the open dialog's filter.
std::string LayoutJson();

}  // namespace vantrel::web
