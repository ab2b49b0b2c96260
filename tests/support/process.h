#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace vantrel::test {

struct ProgramResult {
  int exit_code = -1;
  std::string out;
  std::string err;
  bool timed_out = false;
};

// Runs a program with `arguments` (UTF-8, the program first) and no input,
// and collects its exit code and both output streams. With `unprivileged`,
// as root it runs as the user "nobody" so that file modes bind.
ProgramResult RunProgram(const std::vector<std::string>& arguments, bool unprivileged = false);

#ifndef _WIN32
struct RunOptions {
  bool unprivileged = false;
  // Variables set for the program on top of this process's environment.
  std::vector<std::pair<std::string, std::string>> environment;
  // A program still running after this long is killed and marked timed
  // out: a guard against hanging, not a measure of speed. Zero waits on.
  std::chrono::milliseconds time_limit{0};
};
ProgramResult RunProgram(const std::vector<std::string>& arguments, const RunOptions& options);
#endif

}  // namespace vantrel::test
