#pragma once

#include <QStringList>

#include "shell/qt/form1.h"

namespace vantrel::qt {

// Whether Qt has somewhere to show the window: an X or Wayland display, or a
// platform named outright.
bool HaveDisplay();

// "vantrel IMAGE" opens IMAGE as if chosen in the open dialog; `arguments`
// holds the program first. The path is made absolute so that a dialog that
// changes the current folder cannot move it.
void OpenFromArguments(Form1& form, const QStringList& arguments);

}  // namespace vantrel::qt
