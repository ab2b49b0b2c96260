#include <unistd.h>

#include "runtime/descriptors.h"

namespace vantrel::descriptors {

long WriteSome(int descriptor, std::string_view bytes) {
  return ::write(descriptor, bytes.data(), bytes.size());
}

bool IsTerminal(int descriptor) {
  return ::isatty(descriptor) != 0;
}

void MakeBinary(int) {}

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

}  // namespace vantrel::descriptors
