#pragma once

#include <cstdint>
#include <span>

namespace vantrel {

// Bytes read at 0-based offsets, wherever they are: an open file, or bytes a
// front end holds in memory (a browser's file, a test's image). What reads an
// image reads it through this, so that it works on either.
class ByteSource {
 public:
  virtual ~ByteSource() = default;

  virtual std::int64_t Size() const = 0;
  // Fills `into` from `offset` on and returns how many bytes it holds: fewer
  // only where the bytes end, 0 at or past the end. A negative offset raises
  // 63; a file that cannot be read raises its failure.
  std::size_t Read(std::int64_t offset, std::span<std::uint8_t> into);
  // Raises 62 at or past the end.
  std::uint8_t ReadByte(std::int64_t offset);

 private:
  // Read, at an offset already checked.
  virtual std::size_t ReadFrom(std::int64_t offset, std::span<std::uint8_t> into) = 0;
};

// Bytes held in memory, read where they are.
class MemoryBytes final : public ByteSource {
 public:
  explicit MemoryBytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }

 private:
  std::size_t ReadFrom(std::int64_t offset, std::span<std::uint8_t> into) override;

  std::span<const std::uint8_t> bytes_;
};

}  // namespace vantrel
