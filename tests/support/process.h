#pragma once

#include <string>
#include <vector>

namespace vantrel::test {

struct ProgramResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs a program with `arguments` (UTF-8, the program first) and no input,
// and collects its exit code and both output streams. With `unprivileged`,
// as root it runs as the user "nobody" so that file modes bind.
ProgramResult RunProgram(const std::vector<std::string>& arguments, bool unprivileged = false);

}  // namespace vantrel::test
