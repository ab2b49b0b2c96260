#pragma once

#include <string>
#include <vector>

#include "shell/layout/command_line.h"

namespace vantrel::win32 {

// What `Vantrel.exe [--] [IMAGE]`, `/?`, `-h`, `--help` or `--version` asks
// for; the text is a box's.
using CommandLine = layout::CommandLine<std::wstring>;

// Parses the program's arguments, without its name.
CommandLine ParseCommandLine(const std::vector<std::wstring>& arguments);

}  // namespace vantrel::win32
