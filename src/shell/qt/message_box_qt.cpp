#include "shell/qt/message_box_qt.h"

#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

#include "shell/qt/qt_text.h"

namespace vantrel::qt {

void QtMessageBox::Show(std::string_view text, std::string_view title) {
  QMessageBox box(QMessageBox::NoIcon, QtText(title), QtText(text), QMessageBox::Ok, owner_);
  box.setTextFormat(Qt::PlainText);
  // Some styles put an icon on the button too.
  box.button(QMessageBox::Ok)->setIcon(QIcon());
  box.exec();
}

}  // namespace vantrel::qt
