#include "runtime/failure_box.h"

#include "runtime/message_box.h"

namespace vantrel {

std::string FailureTitle(const RuntimeError& error) {
  return "Error: " + std::to_string(error.Number());
}

void ShowFailureBox(const RuntimeError& error) {
  MsgBox(error.Description(), FailureTitle(error));
}

}  // namespace vantrel
