#pragma once

#include <functional>
#include <string>
#include <vector>

#include "cli/output.h"

namespace vantrel::cli {

enum ExitStatus : int { kDone = 0, kFileFailure = 1, kUsageError = 2 };

// What the tool knows of its standard output besides the stream: whether it
// is a terminal, and how to stop the system translating line ends in it
// before binary goes there (Windows).
struct StandardOutput {
  bool terminal = false;
  std::function<void()> make_binary = [] {};
};

// Runs the command line `arguments` (without the program name), printing
// results on `out` and failures and usage on `err`.
int Run(const std::vector<std::string>& arguments, Output& out, Output& err,
        const StandardOutput& standard_output = {});

}  // namespace vantrel::cli
