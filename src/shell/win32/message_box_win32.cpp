#include "shell/win32/message_box_win32.h"

#include "api/vantrel.h"

namespace vantrel::win32 {

void WindowMessageBox::Show(std::string_view text, std::string_view title) {
  MessageBoxW(owner_, WideFromUtf8(text).c_str(), WideFromUtf8(title).c_str(), MB_OK);
}

}  // namespace vantrel::win32
