#include "shell/qt/start.h"

#include <QCommandLineParser>
#include <QtGlobal>
#include <algorithm>
#include <string_view>
#include <vector>

#include "api/vantrel.h"

namespace vantrel::qt {
namespace {

constexpr std::string_view kUsage = "Usage: vantrel [--] [IMAGE]\n";
constexpr std::string_view kHelp =
    "Shows the window that chooses the cry a FireRed or LeafGreen image plays on\n"
    "its title screen, with IMAGE opened when one is given.\n"
    "\n"
    "  -h, --help     show this help\n"
    "  -v, --version  show the version\n"
    "  --             end the options: IMAGE may start with a dash\n"
    "\n"
    "vantrel-cli shows and changes the cry from the command line.\n";

CommandLine UsageError(const QString& problem) {
  return {CommandLine::Action::kUsageError, std::nullopt,
          "vantrel: " + problem.toStdString() + "\n" + std::string(kUsage)};
}

}  // namespace

CommandLine ParseCommandLine(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(QString::fromLocal8Bit(argv[i]));
  QCommandLineParser parser;
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
  parser.addOptions({help, version});
  const bool parsed = parser.parse(arguments);

  if (!parsed) return UsageError(parser.errorText());
  if (parser.isSet(help)) {
    return {CommandLine::Action::kHelp, std::nullopt, std::string(kUsage) + std::string(kHelp)};
  }
  if (parser.isSet(version)) {
    return {CommandLine::Action::kVersion, std::nullopt,
            "vantrel " + std::string(AppVersion()) + "\n"};
  }
  // The operands as their bytes, after the program's name: Qt's text for a
  // name that is not UTF-8 would name another file. No option takes a value.
  std::vector<std::string> operands =
      SplitArguments(std::vector<std::string>(argv + std::min(argc, 1), argv + argc)).operands;
  if (operands.size() > 1) return UsageError(QStringLiteral("Give one image at most."));
  if (operands.empty()) return {};
  return {CommandLine::Action::kShowWindow, std::move(operands.front()), {}};
}

bool HaveDisplay() {
  return !qEnvironmentVariableIsEmpty("DISPLAY") ||
         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

}  // namespace vantrel::qt
