#include "runtime/binary_file.h"

#include "runtime/error.h"

namespace vantrel {

std::uint8_t BinaryFile::ReadByte(std::int64_t offset) {
  std::uint8_t byte = 0;
  if (Read(offset, std::span(&byte, 1)) == 0) throw RuntimeError(kInputPastEndOfFile);
  return byte;
}

}  // namespace vantrel
