#pragma once

#include <windows.h>

#include "api/vantrel.h"

namespace vantrel::win32 {

// The system's message box: OK only, no icon, modal to the owner window.
class WindowMessageBox : public MessageBoxService {
 public:
  explicit WindowMessageBox(HWND owner) : owner_(owner) {}
  void Show(std::string_view text, std::string_view title) override;

 private:
  HWND owner_;
};

}  // namespace vantrel::win32
