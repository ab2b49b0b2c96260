#pragma once

#include <string>

#include "shell/layout/command_line.h"
#include "shell/qt/form1.h"

namespace vantrel::qt {

// What `vantrel [--] [IMAGE]`, `--help` or `--version` asks for: the image
// as the bytes the command line gave; the help or the version line for
// standard output, or the usage error for standard error, each line ending
// in a newline.
using CommandLine = layout::CommandLine<std::string>;

// Parses the program's command line; needs neither a display nor a
// QApplication.
CommandLine ParseCommandLine(int argc, char** argv);

// Whether Qt has somewhere to show the window: an X or Wayland display, or a
// platform named outright.
bool HaveDisplay();

}  // namespace vantrel::qt
