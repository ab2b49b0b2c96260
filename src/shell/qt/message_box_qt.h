#pragma once

#include <QPointer>
#include <QWidget>

#include "api/vantrel.h"

namespace vantrel::qt {

// QMessageBox with the given title, the text, one OK button and no icon,
// modal to the owner window.
class QtMessageBox : public MessageBoxService {
 public:
  explicit QtMessageBox(QWidget* owner) : owner_(owner) {}
  void Show(std::string_view text, std::string_view title) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace vantrel::qt
