#include "shell/win32/command_line.h"

#include <string_view>

#include "api/vantrel.h"

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
  // "/?" is the system's own way to ask for help.
  Arguments<wchar_t> split = SplitArguments(arguments, {}, [](std::wstring_view argument) {
    return IsDashOption(argument) || argument == L"/?";
  });
  // Every option answers at once, so the first one decides.
  if (!split.options.empty()) {
    const std::wstring& name = split.options.front().name;
    if (name == L"/?" || name == L"-h" || name == L"--help") {
      return {CommandLine::Action::kHelp, std::nullopt, std::string(kUsage) + std::string(kHelp)};
    }
    if (name == L"--version") {
      return {CommandLine::Action::kVersion, std::nullopt,
              std::string(AppTitle()) + " " + std::string(AppVersion())};
    }
    // Options are ASCII: a name no UTF-8 text holds is no option either.
    std::string shown;
    for (wchar_t c : name) shown += c < 0x80 ? static_cast<char>(c) : '?';
    return UsageError("Unknown option '" + shown + "'.");
  }
  std::vector<std::wstring>& operands = split.operands;
  if (operands.size() > 1) return UsageError("Give one image at most.");
  if (operands.empty()) return {};
  return {CommandLine::Action::kShowWindow, std::move(operands.front()), {}};
}

}  // namespace vantrel::win32
