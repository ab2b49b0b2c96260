#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vantrel::cli {

enum ExitStatus : int { kDone = 0, kFileFailure = 1, kUsageError = 2 };

// Runs the command line `arguments` (without the program name), printing
// results on `out` and failures and usage on `err`.
int Run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace vantrel::cli
