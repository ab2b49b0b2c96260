#include "support/unprivileged.h"

namespace vantrel::test {

// The read-only attribute binds for administrators too, so there is no
// privilege to drop.
int RunUnprivileged(const std::function<int()>& body) {
  return body();
}

}  // namespace vantrel::test
