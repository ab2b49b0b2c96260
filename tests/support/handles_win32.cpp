#include <windows.h>

#include "support/handles.h"

namespace vantrel::test {

int OpenHandleCount() {
  DWORD count = 0;
  if (!GetProcessHandleCount(GetCurrentProcess(), &count)) return -1;
  return static_cast<int>(count);
}

}  // namespace vantrel::test
