#pragma once

#include <functional>

namespace vantrel::test {

// Runs `body` where file modes bind: as root it runs in a child process that
// has dropped to the unprivileged user "nobody" (root writes through file
// modes, so a read-only check run as root would prove nothing). Returns the
// body's result.
int RunUnprivileged(const std::function<int()>& body);

}  // namespace vantrel::test
