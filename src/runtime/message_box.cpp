#include "runtime/message_box.h"

#include <cstdio>
#include <string>

#include "runtime/app.h"

namespace vantrel {
namespace {

StderrMessageBox& StandardErrorBox() {
  static StderrMessageBox box;
  return box;
}

MessageBoxService* g_current = nullptr;

}  // namespace

// Through stdio rather than iostreams, whose start-up every program would pay.
void StderrMessageBox::Show(std::string_view text, std::string_view title) {
  const std::string line = std::string(title) + ": " + std::string(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

MessageBoxService& CurrentMessageBox() {
  return g_current != nullptr ? *g_current : StandardErrorBox();
}

MessageBoxService* SetCurrentMessageBox(MessageBoxService* service) {
  MessageBoxService* previous = g_current;
  g_current = service;
  return previous;
}

void MsgBox(std::string_view text, std::string_view title) {
  CurrentMessageBox().Show(text, title);
}

void MsgBox(std::string_view text) {
  MsgBox(text, AppTitle());
}

}  // namespace vantrel
