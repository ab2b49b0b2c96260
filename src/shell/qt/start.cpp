#include "shell/qt/start.h"

#include <QCommandLineParser>
#include <QtGlobal>
#include <string_view>
#include <vector>

#include "runtime/app.h"

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

// The arguments the parser takes for operands, as their bytes: Qt's text
// for a name that is not UTF-8 would name another file. No option takes a
// value, so these are the arguments after "--" and those before it that do
// not start with a dash, or are one.
std::vector<std::string> Operands(int argc, char** argv) {
  std::vector<std::string> operands;
  bool options_ended = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (!options_ended && argument == "--") {
      options_ended = true;
    } else if (options_ended || !argument.starts_with('-') || argument == "-") {
      operands.emplace_back(argument);
    }
  }
  return operands;
}

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
  std::vector<std::string> operands = Operands(argc, argv);
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
