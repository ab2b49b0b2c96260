#include <windows.h>

#include "runtime/program_arguments.h"
#include "runtime/wide_text.h"

namespace vantrel {

// argv holds ANSI text on Windows; the wide command line holds every name.
std::vector<std::string> ProgramArguments(int, char**) {
  std::vector<std::string> arguments;
  for (const std::wstring& argument : WideArguments(GetCommandLineW())) {
    arguments.push_back(Utf8FromWide(argument));
  }
  return arguments;
}

}  // namespace vantrel
