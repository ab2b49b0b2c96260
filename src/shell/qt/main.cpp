#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "api/vantrel.h"
#include "shell/qt/file_dialog_qt.h"
#include "shell/qt/form1.h"
#include "shell/qt/message_box_qt.h"
#include "shell/qt/pulse_cry_player.h"
#include "shell/qt/qt_text.h"
#include "shell/qt/start.h"

int main(int argc, char** argv) {
  using vantrel::qt::CommandLine;
  const CommandLine command_line = vantrel::qt::ParseCommandLine(argc, argv);
  switch (command_line.action) {
    case CommandLine::Action::kHelp:
    case CommandLine::Action::kVersion:
      if (std::fputs(command_line.text.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
        std::fputs("vantrel: the output could not be written\n", stderr);
        return 1;
      }
      return 0;
    case CommandLine::Action::kUsageError:
      std::fputs(command_line.text.c_str(), stderr);
      return 2;
    case CommandLine::Action::kShowWindow:
      break;
  }
  // Checked before Qt starts: without a display it would abort with a
  // message about plugins that tells a user nothing.
  if (!vantrel::qt::HaveDisplay()) {
    std::fputs(
        "vantrel: no display to show the window on; vantrel-cli edits images "
        "from the command line\n",
        stderr);
    return 1;
  }
  // Qt is given the program's name only: the command line has been read,
  // and Qt would take an image named like one of its own options for it.
  int qt_argc = 1;
  QApplication application(qt_argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("vantrel"));
  QCoreApplication::setApplicationVersion(vantrel::qt::QtText(vantrel::AppVersion()));
  // Desktops find the window's entry, and so its icon, by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.vantrel.Vantrel"));

  vantrel::qt::QtDialogBackend dialogs;
  vantrel::qt::PulseCryPlayer player;
  vantrel::qt::Form1 form(
      [&dialogs] { return std::make_unique<vantrel::clsCommonDialog>(dialogs); }, player);
  vantrel::qt::QtMessageBox boxes(&form);
  const vantrel::ScopedMessageBox installed(boxes);
  form.show();
  // Once the window is up, so that the image's box has it as its owner.
  if (command_line.image) {
    QTimer::singleShot(0, &form,
                       [&form, &command_line] { form.Commands().OpenPath(*command_line.image); });
  }
  return QApplication::exec();
}
