#include "shell/qt/start.h"

#include <QFileInfo>
#include <QtGlobal>

namespace vantrel::qt {

bool HaveDisplay() {
  return !qEnvironmentVariableIsEmpty("DISPLAY") ||
         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

void OpenFromArguments(Form1& form, const QStringList& arguments) {
  if (arguments.size() < 2) return;
  form.Commands().OpenPath(QFileInfo(arguments[1]).absoluteFilePath().toStdString());
}

}  // namespace vantrel::qt
