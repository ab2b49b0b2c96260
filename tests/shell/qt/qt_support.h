#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <ostream>

// Failures print texts as text.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace vantrel::qt::test {

// Hands the next modal widget to `answer` once it is up, from the event loop
// the modal widget runs; `answer` must close it, or the test hangs until
// CTest's timeout ends it.
inline void AnswerModal(std::function<void(QWidget*)> answer) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, answer = std::move(answer)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    answer(modal);
  });
  poll->start(10);
}

}  // namespace vantrel::qt::test
