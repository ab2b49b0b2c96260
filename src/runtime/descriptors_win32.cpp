#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "runtime/descriptors.h"

namespace vantrel::descriptors {

long WriteSome(int descriptor, std::string_view bytes) {
  constexpr std::size_t kMost = 1 << 30;
  return ::_write(descriptor, bytes.data(),
                  static_cast<unsigned>(bytes.size() < kMost ? bytes.size() : kMost));
}

bool IsTerminal(int descriptor) {
  return ::_isatty(descriptor) != 0;
}

void MakeBinary(int descriptor) {
  ::_setmode(descriptor, _O_BINARY);
}

Utf8Console::Utf8Console() : previous_(GetConsoleOutputCP()) {
  SetConsoleOutputCP(CP_UTF8);
}

Utf8Console::~Utf8Console() {
  if (previous_ != 0) SetConsoleOutputCP(previous_);
}

}  // namespace vantrel::descriptors
