#include "cli/output.h"

#include <cerrno>

#include "api/vantrel.h"

namespace vantrel::cli {

void DescriptorOutput::Put(std::string_view bytes) {
  held_ += bytes;
  constexpr std::size_t kHeldAtMost = 1 << 16;
  if ((by_line_ && held_.ends_with('\n')) || held_.size() >= kHeldAtMost) Flush();
}

bool DescriptorOutput::Flush() {
  std::string_view rest = held_;
  while (!rest.empty() && !failed_) {
    const long written = descriptors::WriteSome(descriptor_, rest);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      failed_ = true;
    } else {
      rest.remove_prefix(static_cast<std::size_t>(written));
    }
  }
  held_.clear();
  return !failed_;
}

void PrintFailure(Output& err, std::string_view lead, const RuntimeError& error) {
  err << lead << FailureTitle(error) << ": " << error.Description() << '\n';
}

}  // namespace vantrel::cli
