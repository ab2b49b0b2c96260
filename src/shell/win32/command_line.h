#pragma once

#include <string>
#include <vector>

#include "shell/layout/command_line.h"
#include "shell/win32/form1.h"

namespace vantrel::win32 {

// What `Vantrel.exe [--] [IMAGE]`, `/?`, `-h`, `--help` or `--version` asks
// for; the text is a box's.
using CommandLine = layout::CommandLine<std::wstring>;

// Parses the program's arguments, without its name.
CommandLine ParseCommandLine(const std::vector<std::wstring>& arguments);

// Opens `image`, from the command line, as if chosen in the open dialog. The
// path is made absolute so that a later dialog that changes the current
// folder cannot move it. A name no UTF-8 text can hold gets the failure box.
void OpenAtStart(Form1& form, const std::wstring& image);

}  // namespace vantrel::win32
