#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "runtime/byte_source.h"

namespace vantrel {

// An existing regular file opened for byte access at 0-based offsets.
//
// Unlike the classic runtime's binary mode it never creates a file and never
// grows one: the image must stay exactly as long as it was, even when another
// program cuts it short while we write. Every failure is raised as a
// RuntimeError with the runtime's number.
class BinaryFile final : public ByteSource {
 public:
  enum class Access { kRead, kReadWrite };

  // Opens `path`; a missing file, a directory, FIFO or device fails at once,
  // and the object checked is the object opened.
  static BinaryFile Open(const std::filesystem::path& path, Access access);

  BinaryFile(BinaryFile&& other) noexcept;
  BinaryFile& operator=(BinaryFile&& other) noexcept;
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;
  // Releases the handle without reporting; call Close() to learn the outcome.
  ~BinaryFile() override;

  std::int64_t Size() const override;
  // Writes `bytes` in place from `offset` on, in one store where they lie in
  // one page, so that no reader meets some of them new and some old. Those
  // past the end are not written: kWritePastEndOfFile, after the rest.
  void Write(std::int64_t offset, std::span<const std::uint8_t> bytes);
  // Puts written bytes on disk and releases the handle; a failing flush is a
  // failure, and so is a file cut short before the written bytes reached the
  // disk (kWritePastEndOfFile) or a disk that does not hold them after a
  // flush that reported none. The handle is released even when this raises.
  void Close();

 private:
  explicit BinaryFile(std::intptr_t handle) : handle_(handle) {}
  std::size_t ReadFrom(std::int64_t offset, std::span<std::uint8_t> into) override;
  void Release() noexcept;

  static constexpr std::intptr_t kNoHandle = -1;
  struct Written {
    std::int64_t offset;
    std::vector<std::uint8_t> bytes;
  };

  std::intptr_t handle_ = kNoHandle;
  // What must be on disk when the file is closed.
  std::vector<Written> written_;
};

}  // namespace vantrel
