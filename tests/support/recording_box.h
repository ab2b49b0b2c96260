#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/message_box.h"

namespace vantrel::test {

struct ShownBox {
  std::string text;
  std::string title;
  bool operator==(const ShownBox&) const = default;
};
std::ostream& operator<<(std::ostream& out, const ShownBox& box);

// Records every box shown while it lives, in order, instead of showing it.
class RecordingMessageBox : public MessageBoxService {
 public:
  RecordingMessageBox() : previous_(SetCurrentMessageBox(this)) {}
  ~RecordingMessageBox() override { SetCurrentMessageBox(previous_); }
  RecordingMessageBox(const RecordingMessageBox&) = delete;
  RecordingMessageBox& operator=(const RecordingMessageBox&) = delete;

  void Show(std::string_view text, std::string_view title) override {
    shown.push_back({std::string(text), std::string(title)});
  }

  std::vector<ShownBox> shown;

 private:
  MessageBoxService* previous_;
};

}  // namespace vantrel::test
