#pragma once

#include <optional>
#include <string>

namespace vantrel::layout {

// What a window program's command line asks for: `[--] [IMAGE]`, its help or
// its version. `Name` is the platform's form of a file name.
template <typename Name>
struct CommandLine {
  enum class Action { kShowWindow, kHelp, kVersion, kUsageError };
  Action action = Action::kShowWindow;
  // The image to open at start, exactly as the command line gave it.
  std::optional<Name> image;
  // What answers help, version or a usage error, for the user to read.
  std::string text;
};

}  // namespace vantrel::layout
