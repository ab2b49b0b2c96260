#include "shell/win32/command_line.h"

#include <string_view>

#include "runtime/app.h"

namespace vantrel::win32 {
namespace {

constexpr std::string_view kUsage = "Usage: Vantrel.exe [--] [IMAGE]";
constexpr std::string_view kHelp =
    "\n\nShows the window that chooses the cry a FireRed or LeafGreen image plays "
    "on its title screen, with IMAGE opened when one is given.\n\n"
    "/?, -h, --help: show this help\n"
    "--version: show the version\n"
    "--: end the options, so that IMAGE may start with a dash\n\n"
    "vantrel-cli.exe shows and changes the cry from the command line.";

CommandLine UsageError(std::string problem) {
  return {CommandLine::Action::kUsageError, std::nullopt,
          std::move(problem) + "\n\n" + std::string(kUsage)};
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::wstring>& arguments) {
  std::vector<std::wstring> operands;
  bool options_ended = false;
  for (const std::wstring& argument : arguments) {
    if (options_ended || argument == L"-" || (!argument.starts_with(L'-') && argument != L"/?")) {
      operands.push_back(argument);
    } else if (argument == L"--") {
      options_ended = true;
    } else if (argument == L"/?" || argument == L"-h" || argument == L"--help") {
      return {CommandLine::Action::kHelp, std::nullopt, std::string(kUsage) + std::string(kHelp)};
    } else if (argument == L"--version") {
      return {CommandLine::Action::kVersion, std::nullopt,
              std::string(AppTitle()) + " " + std::string(AppVersion())};
    } else {
      // Options are ASCII: a name no UTF-8 text holds is no option either.
      std::string shown;
      for (wchar_t c : argument) shown += c < 0x80 ? static_cast<char>(c) : '?';
      return UsageError("Unknown option '" + shown + "'.");
    }
  }
  if (operands.size() > 1) return UsageError("Give one image at most.");
  if (operands.empty()) return {};
  return {CommandLine::Action::kShowWindow, std::move(operands.front()), {}};
}

}  // namespace vantrel::win32
