#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "runtime/binary_file.h"
#include "runtime/error.h"

namespace vantrel {
namespace {

int Fd(std::intptr_t handle) {
  return static_cast<int>(handle);
}

std::int32_t NumberForErrno(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
      return kPermissionDenied;
    case ENOTDIR:
      return kPathNotFound;
    case ENAMETOOLONG:
      return kBadFileNameOrNumber;
    case EISDIR:
    case ELOOP:
    case ENXIO:
    case ENODEV:
      return kPathFileAccessError;
    case ENOSPC:
    case EDQUOT:
      return kDiskFull;
    default:
      return kDeviceIoError;
  }
}

[[noreturn]] void RaiseErrno(int error) {
  throw RuntimeError(NumberForErrno(error));
}

// A missing name is "File not found" when its folder exists, else "Path not found".
[[noreturn]] void RaiseMissing(const std::filesystem::path& path) {
  std::error_code ignored;
  const std::filesystem::path parent = path.parent_path();
  const bool folder_exists = parent.empty() || std::filesystem::is_directory(parent, ignored);
  throw RuntimeError(folder_exists ? kFileNotFound : kPathNotFound);
}

}  // namespace

BinaryFile BinaryFile::Open(const std::filesystem::path& path, Access access) {
  const std::string& name = path.native();
  if (name.empty() || name.find('\0') != std::string::npos) {
    throw RuntimeError(kBadFileNameOrNumber);
  }
  // Refuse what is not a regular file before opening it: opening a device
  // can have effects of its own. fstat below closes the race.
  struct stat info {};
  if (::stat(name.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    throw RuntimeError(kPathFileAccessError);
  }
  // O_NONBLOCK so that a FIFO swapped in meanwhile fails below instead of
  // waiting for a writer.
  const int mode = access == Access::kRead ? O_RDONLY : O_RDWR;
  int fd;
  do {
    fd = ::open(name.c_str(), mode | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    if (errno == ENOENT) RaiseMissing(path);
    RaiseErrno(errno);
  }
  BinaryFile file(fd, access);
  if (::fstat(fd, &info) != 0) RaiseErrno(errno);
  if (!S_ISREG(info.st_mode)) throw RuntimeError(kPathFileAccessError);
  return file;
}

BinaryFile::BinaryFile(BinaryFile&& other) noexcept
    : handle_(other.handle_), access_(other.access_) {
  other.handle_ = kNoHandle;
}

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept {
  if (this != &other) {
    Release();
    handle_ = other.handle_;
    access_ = other.access_;
    other.handle_ = kNoHandle;
  }
  return *this;
}

BinaryFile::~BinaryFile() {
  Release();
}

void BinaryFile::Release() noexcept {
  if (handle_ != kNoHandle) {
    ::close(Fd(handle_));
    handle_ = kNoHandle;
  }
}

std::int64_t BinaryFile::Size() const {
  struct stat info {};
  if (::fstat(Fd(handle_), &info) != 0) RaiseErrno(errno);
  return info.st_size;
}

std::size_t BinaryFile::Read(std::int64_t offset, std::span<std::uint8_t> into) {
  if (offset < 0) throw RuntimeError(kBadRecordNumber);
  std::size_t done = 0;
  while (done < into.size()) {
    const ssize_t count = ::pread(Fd(handle_), into.data() + done, into.size() - done,
                                  static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) RaiseErrno(errno);
    if (count == 0) break;
    done += static_cast<std::size_t>(count);
  }
  return done;
}

void BinaryFile::WriteByte(std::int64_t offset, std::uint8_t value) {
  if (offset < 0) throw RuntimeError(kBadRecordNumber);
  if (offset >= Size()) throw RuntimeError(kWritePastEndOfFile);
  ssize_t count;
  do {
    count = ::pwrite(Fd(handle_), &value, 1, static_cast<off_t>(offset));
  } while (count < 0 && errno == EINTR);
  if (count < 0) RaiseErrno(errno);
  if (count != 1) throw RuntimeError(kDeviceIoError);
}

void BinaryFile::Close() {
  if (handle_ == kNoHandle) return;
  const int fd = Fd(handle_);
  handle_ = kNoHandle;
  if (access_ == Access::kReadWrite) {
    int synced;
    do {
      synced = ::fsync(fd);
    } while (synced != 0 && errno == EINTR);
    if (synced != 0) {
      const int error = errno;
      ::close(fd);
      RaiseErrno(error);
    }
  }
  // After close() the descriptor is gone whatever it returns; EINTR there
  // does not mean the data is lost, since fsync already succeeded.
  if (::close(fd) != 0 && errno != EINTR) RaiseErrno(errno);
}

}  // namespace vantrel
