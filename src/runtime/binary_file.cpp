#include "runtime/binary_file.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

#include "runtime/error.h"
#include "runtime/file_handle.h"

namespace vantrel {

BinaryFile BinaryFile::Open(const std::filesystem::path& path, Access access) {
  using Char = std::filesystem::path::value_type;
  const auto& name = path.native();
  if (name.empty() || name.find(Char{}) != std::basic_string<Char>::npos) {
    throw RuntimeError(kBadFileNameOrNumber);
  }
  return BinaryFile(file_handle::Open(path, access == Access::kReadWrite));
}

BinaryFile::BinaryFile(BinaryFile&& other) noexcept
    : handle_(other.handle_), written_(std::move(other.written_)) {
  other.handle_ = kNoHandle;
}

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept {
  if (this != &other) {
    Release();
    handle_ = other.handle_;
    written_ = std::move(other.written_);
    other.handle_ = kNoHandle;
  }
  return *this;
}

BinaryFile::~BinaryFile() {
  Release();
}

void BinaryFile::Release() noexcept {
  if (handle_ != kNoHandle) {
    file_handle::Release(handle_);
    handle_ = kNoHandle;
  }
}

std::int64_t BinaryFile::Size() const {
  return file_handle::Size(handle_);
}

std::size_t BinaryFile::ReadFrom(std::int64_t offset, std::span<std::uint8_t> into) {
  std::size_t done = 0;
  while (done < into.size()) {
    const std::size_t count = file_handle::ReadSome(
        handle_, offset + static_cast<std::int64_t>(done), into.subspan(done));
    if (count == 0) break;
    done += count;
  }
  return done;
}

void BinaryFile::Write(std::int64_t offset, std::span<const std::uint8_t> bytes) {
  if (offset < 0) throw RuntimeError(kBadRecordNumber);
  const std::int64_t room = std::max<std::int64_t>(Size() - offset, 0);
  const std::span<const std::uint8_t> fits =
      bytes.first(static_cast<std::size_t>(std::min<std::int64_t>(room, std::ssize(bytes))));
  if (!fits.empty()) {
    file_handle::Store(handle_, offset, fits);
    written_.push_back({offset, {fits.begin(), fits.end()}});
  }
  if (fits.size() < bytes.size()) throw RuntimeError(kWritePastEndOfFile);
}

void BinaryFile::Close() {
  if (handle_ == kNoHandle) return;
  const std::intptr_t handle = handle_;
  handle_ = kNoHandle;
  // Nothing written (a read, or a write refused): nothing to put on disk.
  if (!written_.empty()) {
    try {
      file_handle::Sync(handle);
      // A file cut short after the store but before the flush loses the
      // byte without any call failing: only its size tells.
      std::int64_t written_end = 0;
      for (const Written& run : written_) {
        written_end = std::max(written_end, run.offset + std::ssize(run.bytes));
      }
      if (file_handle::Size(handle) < written_end) throw RuntimeError(kWritePastEndOfFile);
      for (const Written& run : written_) file_handle::ConfirmStored(handle, run.offset, run.bytes);
    } catch (const RuntimeError&) {
      file_handle::Release(handle);
      throw;
    }
  }
  file_handle::Close(handle);
}

}  // namespace vantrel
