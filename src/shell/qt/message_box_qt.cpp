#include "shell/qt/message_box_qt.h"

#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

namespace vantrel::qt {

void QtMessageBox::Show(std::string_view text, std::string_view title) {
  QMessageBox box(
      QMessageBox::NoIcon, QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok, owner_);
  box.setTextFormat(Qt::PlainText);
  // Some styles put an icon on the button too.
  box.button(QMessageBox::Ok)->setIcon(QIcon());
  box.exec();
}

}  // namespace vantrel::qt
