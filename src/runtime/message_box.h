#pragma once

#include <string_view>

namespace vantrel {

// A modal box with one OK button and no icon. Each front end supplies one:
// the window shows a real box, the command-line tool prints a line.
class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  virtual void Show(std::string_view text, std::string_view title) = 0;
};

// The process-wide box in use. Until a front end installs its own, boxes go
// to standard error as one "TITLE: TEXT" line.
MessageBoxService& CurrentMessageBox();

// Installs `service` (not owned; nullptr restores the standard-error box) and
// returns the one it replaces.
MessageBoxService* SetCurrentMessageBox(MessageBoxService* service);

// Shows `text` in the current box; the title defaults to the application's.
void MsgBox(std::string_view text, std::string_view title);
void MsgBox(std::string_view text);

// Prints "TITLE: TEXT" on standard error, e.g. "Error: 53: File not found".
class StderrMessageBox : public MessageBoxService {
 public:
  void Show(std::string_view text, std::string_view title) override;
};

}  // namespace vantrel

namespace vantrel {

// Installs a box for the life of a scope and puts the previous one back.
class ScopedMessageBox {
 public:
  explicit ScopedMessageBox(MessageBoxService& service)
      : previous_(SetCurrentMessageBox(&service)) {}
  ~ScopedMessageBox() { SetCurrentMessageBox(previous_); }
  ScopedMessageBox(const ScopedMessageBox&) = delete;
  ScopedMessageBox& operator=(const ScopedMessageBox&) = delete;

 private:
  MessageBoxService* previous_;
};

}  // namespace vantrel
