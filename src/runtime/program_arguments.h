#pragma once

#include <string>
#include <vector>

namespace vantrel {

// The program's arguments, without its name, as UTF-8 whatever the platform
// passes them as, so that any file name reaches the core intact. On Windows
// a name that is not well-formed UTF-16 raises error 52.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace vantrel
