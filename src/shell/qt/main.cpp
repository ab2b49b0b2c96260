#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "runtime/message_box.h"
#include "shell/qt/file_dialog_qt.h"
#include "shell/qt/form1.h"
#include "shell/qt/message_box_qt.h"
#include "shell/qt/start.h"

int main(int argc, char** argv) {
  // Checked before Qt starts: without a display it would abort with a
  // message about plugins that tells a user nothing.
  if (!vantrel::qt::HaveDisplay()) {
    std::fputs(
        "vantrel: no display to show the window on; vantrel-cli edits images "
        "from the command line\n",
        stderr);
    return 1;
  }
  QApplication application(argc, argv);
  // Desktops find the window's entry, and so its icon, by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("vantrel"));

  vantrel::qt::QtDialogBackend dialogs;
  vantrel::qt::Form1 form(
      [&dialogs] { return std::make_unique<vantrel::clsCommonDialog>(dialogs); });
  vantrel::qt::QtMessageBox boxes(&form);
  const vantrel::ScopedMessageBox installed(boxes);
  form.show();
  // Once the window is up, so that the image's box has it as its owner.
  QTimer::singleShot(
      0, &form, [&form] { vantrel::qt::OpenFromArguments(form, QCoreApplication::arguments()); });
  return QApplication::exec();
}
