#include "runtime/byte_source.h"

#include <algorithm>

#include "runtime/error.h"

namespace vantrel {

std::size_t ByteSource::Read(std::int64_t offset, std::span<std::uint8_t> into) {
  if (offset < 0) throw RuntimeError(kBadRecordNumber);
  return ReadFrom(offset, into);
}

std::uint8_t ByteSource::ReadByte(std::int64_t offset) {
  std::uint8_t byte = 0;
  if (Read(offset, std::span(&byte, 1)) == 0) throw RuntimeError(kInputPastEndOfFile);
  return byte;
}

std::size_t MemoryBytes::ReadFrom(std::int64_t offset, std::span<std::uint8_t> into) {
  if (offset >= Size()) return 0;
  const auto rest = bytes_.subspan(static_cast<std::size_t>(offset));
  const std::size_t count = std::min(rest.size(), into.size());
  std::copy_n(rest.begin(), count, into.begin());
  return count;
}

}  // namespace vantrel
