#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/open_file_name.h"

namespace vantrel::test {

// One scripted answer: a path to accept with (and the filter index the user
// picked), or nothing for cancel.
struct DialogAnswer {
  std::optional<std::string> path;
  std::uint32_t filter_index = 1;
};

// A dialog backend that answers what the test scripted, in order, and keeps
// a copy of every record it was handed. An unscripted call cancels.
class ScriptedDialogBackend : public DialogBackend {
 public:
  void Accept(std::string path, std::uint32_t filter_index = 1) {
    answers.push_back({std::move(path), filter_index});
  }
  void Cancel() { answers.push_back({std::nullopt, 0}); }

  bool ShowOpenDialog(OpenFileNameRecord& record) override { return Answer("open", record); }
  bool ShowSaveDialog(OpenFileNameRecord& record) override { return Answer("save", record); }

  std::deque<DialogAnswer> answers;
  std::vector<std::string> calls;  // "open" or "save", in order
  std::vector<OpenFileNameRecord> received;

 private:
  bool Answer(const char* kind, OpenFileNameRecord& record);
};

}  // namespace vantrel::test
