#include <filesystem>

#include "support/handles.h"

namespace vantrel::test {

int OpenHandleCount() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    ++count;
  }
  return count;
}

}  // namespace vantrel::test
