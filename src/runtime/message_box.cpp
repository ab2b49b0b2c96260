#include "runtime/message_box.h"

#include <iostream>

#include "runtime/app.h"

namespace vantrel {
namespace {

StderrMessageBox& StandardErrorBox() {
  static StderrMessageBox box;
  return box;
}

MessageBoxService* g_current = nullptr;

}  // namespace

void StderrMessageBox::Show(std::string_view text, std::string_view title) {
  std::cerr << title << ": " << text << std::endl;
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
