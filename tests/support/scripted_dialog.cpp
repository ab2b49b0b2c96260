#include "support/scripted_dialog.h"

namespace vantrel::test {

bool ScriptedDialogBackend::Answer(const char* kind, OpenFileNameRecord& record) {
  calls.push_back(kind);
  received.push_back(record);
  if (answers.empty()) return false;
  const DialogAnswer answer = answers.front();
  answers.pop_front();
  // As the platform does: a path that does not fit the buffer is refused.
  if (!answer.path || answer.path->size() + 1 > record.nMaxFile) return false;
  record.lpstrFile.replace(0, answer.path->size() + 1, *answer.path + '\0');
  record.nFilterIndex = answer.filter_index;
  return true;
}

}  // namespace vantrel::test
