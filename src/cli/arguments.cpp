#include "cli/arguments.h"

#ifdef _WIN32
#include <windows.h>
// shellapi.h needs the types windows.h declares.
#include <shellapi.h>
#endif

namespace vantrel::cli {

#ifdef _WIN32
std::vector<std::string> ProgramArguments(int, char**) {
  // argv holds ANSI text on Windows; take the wide command line instead.
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; wide != nullptr && i < count; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string text(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) {
      WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, text.data(), size, nullptr, nullptr);
    }
    arguments.push_back(std::move(text));
  }
  LocalFree(wide);
  return arguments;
}
#else
std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}
#endif

}  // namespace vantrel::cli
