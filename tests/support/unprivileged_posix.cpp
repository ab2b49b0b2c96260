#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "support/unprivileged.h"

namespace vantrel::test {

namespace {
constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;
}  // namespace

int RunUnprivileged(const std::function<int()>& body) {
  if (geteuid() != 0) return body();
  const pid_t child = fork();
  if (child < 0) std::abort();
  if (child == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(kNogroup) != 0 || setuid(kNobody) != 0) _exit(127);
    _exit(body());
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

}  // namespace vantrel::test
