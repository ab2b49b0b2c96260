#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csetjmp>
#include <csignal>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/error.h"
#include "runtime/file_handle.h"

namespace vantrel::file_handle {
namespace {

int Fd(Handle handle) {
  return static_cast<int>(handle);
}

// Makes `call` again for as long as a signal interrupts it.
template <typename Call>
auto RetryInterrupted(Call call) {
  decltype(call()) result;
  do {
    result = call();
  } while (result == -1 && errno == EINTR);
  return result;
}

RuntimeError ErrorForErrno(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
      return RuntimeError(kPermissionDenied);
    // Another program's lease (met through O_NONBLOCK) or a busy file: the
    // file is there and ours to use, only not now.
    case EWOULDBLOCK:
    case EBUSY:
      return FileInUseError();
    case ENOTDIR:
      return RuntimeError(kPathNotFound);
    case ENAMETOOLONG:
      return RuntimeError(kBadFileNameOrNumber);
    case EISDIR:
    case ELOOP:
    case ENXIO:
    case ENODEV:
      return RuntimeError(kPathFileAccessError);
    case ENOSPC:
      return RuntimeError(kDiskFull);
    case EDQUOT:
      return RuntimeError(kDiskQuotaExceeded);
    case EMFILE:
    case ENFILE:
      return RuntimeError(kTooManyFiles);
    case ENOMEM:
      return RuntimeError(kOutOfMemory);
    case ETIMEDOUT:
      return RuntimeError(kDeviceUnavailable);
    case ESTALE:
      return RuntimeError(kStaleFileHandle);
    default:
      return RuntimeError(kDeviceIoError);
  }
}

[[noreturn]] void RaiseErrno(int error) {
  throw ErrorForErrno(error);
}

// A missing name is "File not found" when its folder exists, else "Path not found".
[[noreturn]] void RaiseMissing(const std::filesystem::path& path) {
  std::error_code ignored;
  const std::filesystem::path parent = path.parent_path();
  const bool folder_exists = parent.empty() || std::filesystem::is_directory(parent, ignored);
  throw RuntimeError(folder_exists ? kFileNotFound : kPathNotFound);
}

// Closes a descriptor when the scope ends, unless it is let go.
class FdGuard {
 public:
  explicit FdGuard(int fd) : fd_(fd) {}
  ~FdGuard() {
    if (fd_ >= 0) ::close(fd_);
  }
  FdGuard(const FdGuard&) = delete;
  FdGuard& operator=(const FdGuard&) = delete;
  int Get() const { return fd_; }
  int Let() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// An image never sits on standard input, output or error: with those closed
// when the program starts, its output would otherwise go into the image.
int AboveStandardStreams(int fd) {
  if (fd > STDERR_FILENO) return fd;
  const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
  const int error = errno;
  ::close(fd);
  if (moved < 0) RaiseErrno(error);
  return moved;
}

int OpenNamed(const std::filesystem::path& path, int flags) {
  const int fd = RetryInterrupted([&] { return ::open(path.c_str(), flags | O_CLOEXEC); });
  if (fd < 0 && errno == ENOENT) RaiseMissing(path);
  if (fd < 0) RaiseErrno(errno);
  return AboveStandardStreams(fd);
}

std::int64_t PageSize() {
  return ::sysconf(_SC_PAGESIZE);
}

// The page cache's largest folio: a page table's worth of pages, 2 MiB with
// 4 KiB pages.
constexpr std::int64_t kPagesInLargestFolio = 512;

constexpr int kLockWaitMilliseconds = 2000;

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The one store that may fault: a page of the mapping past the file's end
// raises SIGBUS, which the handler turns into a jump back here.
thread_local sigjmp_buf* t_store_fault = nullptr;
struct sigaction g_previous_bus_action {};

void OnBusError(int, siginfo_t*, void*) {
  if (t_store_fault != nullptr) siglongjmp(*t_store_fault, 1);
  // Not our store: put the previous action back; the fault comes again
  // when this returns, and meets it.
  ::sigaction(SIGBUS, &g_previous_bus_action, nullptr);
}

// Stores `bytes` at `at`, in one page; false when the page is no longer in
// the file. The process-wide SIGBUS action is ours only for the one store,
// and the programs write from one thread.
bool StoreFaultless(volatile std::uint8_t* at, std::span<const std::uint8_t> bytes) {
  struct sigaction ours {};
  ours.sa_sigaction = OnBusError;
  ours.sa_flags = SA_SIGINFO;
  sigemptyset(&ours.sa_mask);
  ::sigaction(SIGBUS, &ours, &g_previous_bus_action);
  sigjmp_buf jump;
  volatile bool stored = false;
  if (sigsetjmp(jump, 1) == 0) {
    t_store_fault = &jump;
    // The handler must see the jump set before the store can fault.
    std::atomic_signal_fence(std::memory_order_seq_cst);
    for (std::size_t i = 0; i < bytes.size(); ++i) at[i] = bytes[i];
    stored = true;
  }
  t_store_fault = nullptr;
  ::sigaction(SIGBUS, &g_previous_bus_action, nullptr);
  return stored;
}

// Why a store inside the file faulted: the kernel says no more than SIGBUS,
// both when the page cannot be read and when no block can be found for a
// hole. Asking for the byte's block, keeping the size, names the second:
// a full disk or a used-up quota. The content stays as it was.
RuntimeError StoreFailure(Handle handle, std::int64_t offset) {
  const int allocated = RetryInterrupted(
      [&] { return ::fallocate(Fd(handle), FALLOC_FL_KEEP_SIZE, static_cast<off_t>(offset), 1); });
  if (allocated != 0 && (errno == ENOSPC || errno == EDQUOT)) return ErrorForErrno(errno);
  return RuntimeError(kDeviceIoError);
}

// The `count` bytes at `offset`, in one page, as the disk holds them, read
// past the page cache with O_DIRECT; nothing where the file system has no
// such reads (ramfs, tmpfs before Linux 6.6, some FUSE file systems): the
// cache is then the storage, or all that the kernel shows of it.
std::optional<std::vector<std::uint8_t>> ReadPastCache(Handle handle, std::int64_t offset,
                                                       std::size_t count) {
  const int fd = Fd(handle);
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0) RaiseErrno(errno);
  // Without O_NOATIME the read would date the file's access after the flush,
  // and that inode change is one more block to the disk later; only the
  // file's owner may ask for it.
  if (::fcntl(fd, F_SETFL, flags | O_DIRECT | O_NOATIME) != 0 &&
      (errno != EPERM || ::fcntl(fd, F_SETFL, flags | O_DIRECT) != 0)) {
    if (errno == EINVAL) return std::nullopt;
    RaiseErrno(errno);
  }
  // Direct reads take whole blocks into aligned memory: a page is both.
  const std::int64_t page = PageSize();
  const std::int64_t start = offset - offset % page;
  const std::unique_ptr<std::uint8_t, decltype(&std::free)> block(
      static_cast<std::uint8_t*>(std::aligned_alloc(page, page)), &std::free);
  ssize_t got = -1;
  if (block != nullptr) {
    got = RetryInterrupted([&] {
      return ::pread(fd, block.get(), static_cast<std::size_t>(page), static_cast<off_t>(start));
    });
  }
  const int error = block != nullptr ? errno : ENOMEM;
  ::fcntl(fd, F_SETFL, flags);
  if (got < 0 && error == EINVAL) return std::nullopt;  // a block larger than a page
  if (got < 0) RaiseErrno(error);
  if (got < offset - start + static_cast<std::int64_t>(count)) {
    throw RuntimeError(kWritePastEndOfFile);
  }
  const std::uint8_t* first = block.get() + (offset - start);
  return std::vector<std::uint8_t>(first, first + count);
}

// Calls `each` with each run of `bytes` from `offset` on that lies in one
// page, and the run's offset.
template <typename Each>
void ForEachPage(std::int64_t offset, std::span<const std::uint8_t> bytes, Each each) {
  const std::int64_t page = PageSize();
  while (!bytes.empty()) {
    const std::size_t run =
        static_cast<std::size_t>(std::min<std::int64_t>(page - offset % page, std::ssize(bytes)));
    each(offset, bytes.first(run));
    offset += static_cast<std::int64_t>(run);
    bytes = bytes.subspan(run);
  }
}

// How many pages of the aligned `window` at `start` the page cache holds;
// nothing where the kernel cannot say (cachestat came with Linux 6.5).
std::optional<std::int64_t> CachedPages(Handle handle, std::int64_t start, std::int64_t window) {
  struct {
    std::uint64_t offset, length;
  } range{static_cast<std::uint64_t>(start), static_cast<std::uint64_t>(window)};
  struct {
    std::uint64_t cached, dirty, writeback, evicted, recently_evicted;
  } stat{};
  constexpr long kCachestat = 451;  // the same on every architecture
  if (::syscall(kCachestat, Fd(handle), &range, &stat, 0) != 0) return std::nullopt;
  return static_cast<std::int64_t>(stat.cached);
}

// A folio covers an aligned window of pages and is cached whole, so the
// largest aligned window around the page that the cache holds whole bounds
// the folio that holds the page. The page alone when its neighbour is not
// cached; the largest folio where the kernel cannot say.
std::int64_t WidestFolioOfPage(Handle handle, std::int64_t start, std::int64_t page) {
  std::int64_t widest = page;
  for (std::int64_t window = 2 * page; window <= page * kPagesInLargestFolio; window *= 2) {
    const std::optional<std::int64_t> cached = CachedPages(handle, start - start % window, window);
    if (!cached) return page * kPagesInLargestFolio;
    if (*cached * page < window) break;
    widest = window;
  }
  return widest;
}

// A store marks the whole folio that holds its page dirty, and the page
// cache keeps a file written in large blocks in folios of up to 2 MiB, which
// fsync then writes whole. So a folio larger than the page is dropped from
// the cache while it is clean: aligned windows around the page, from one
// page up, are dropped until the page is gone, so that no other folio is.
// Dirty or mapped folios stay, and are flushed as they are.
void DropFolioOfPage(Handle handle, std::int64_t start, std::int64_t page, void* mapped) {
  const std::int64_t widest = WidestFolioOfPage(handle, start, page);
  if (widest == page) return;
  for (std::int64_t window = page; window <= widest; window *= 2) {
    ::posix_fadvise(Fd(handle), static_cast<off_t>(start - start % window),
                    static_cast<off_t>(window), POSIX_FADV_DONTNEED);
    unsigned char cached = 0;
    if (::mincore(mapped, static_cast<std::size_t>(page), &cached) != 0 || (cached & 1) == 0) {
      return;
    }
  }
}

// Writers take the whole file's write lock (an open file description's, so
// that it goes with the descriptor), so that two of them never interleave:
// each finds the code it writes as the other left it whole. Another writer
// holds it for a few milliseconds; one that holds it longer is another
// program's business, and is met as a file in use. A file system without
// such locks (some network ones) is written without.
void LockForWriting(int fd) {
  struct flock whole {};
  whole.l_type = F_WRLCK;
  whole.l_whence = SEEK_SET;
  for (int waited = 0;; ++waited) {
    if (RetryInterrupted([&] { return ::fcntl(fd, F_OFD_SETLK, &whole); }) == 0) return;
    if (errno != EAGAIN && errno != EACCES) return;
    if (waited == kLockWaitMilliseconds) throw FileInUseError();
    ::usleep(1000);
  }
}

}  // namespace

Handle Open(const std::filesystem::path& path, bool for_writing) {
  // The name is resolved once, to a descriptor that opens nothing (O_PATH);
  // its type is checked on that descriptor, and the file is opened through
  // it, so a device or FIFO renamed into place meanwhile is never opened.
  FdGuard located(OpenNamed(path, O_PATH));
  struct stat checked {};
  if (::fstat(located.Get(), &checked) != 0) RaiseErrno(errno);
  if (!S_ISREG(checked.st_mode)) throw RuntimeError(kPathFileAccessError);

  // O_NONBLOCK: under another program's lease, fail at once rather than wait.
  const int flags = (for_writing ? O_RDWR : O_RDONLY) | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
  const std::string self = "/proc/self/fd/" + std::to_string(located.Get());
  int fd = RetryInterrupted([&] { return ::open(self.c_str(), flags); });
  if (fd < 0 && errno != ENOENT) RaiseErrno(errno);
  if (fd < 0) {
    // Without /proc, open the name again and make sure it is the file
    // checked; the device can then have been opened, but is not used.
    fd = OpenNamed(path, flags);
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !SameFile(opened, checked)) {
      ::close(fd);
      throw RuntimeError(kPathFileAccessError);
    }
  }
  FdGuard opened(AboveStandardStreams(fd));
  if (for_writing) LockForWriting(opened.Get());
  return opened.Let();
}

std::int64_t Size(Handle handle) {
  struct stat info {};
  if (::fstat(Fd(handle), &info) != 0) RaiseErrno(errno);
  return info.st_size;
}

std::size_t ReadSome(Handle handle, std::int64_t offset, std::span<std::uint8_t> into) {
  const ssize_t count = RetryInterrupted(
      [&] { return ::pread(Fd(handle), into.data(), into.size(), static_cast<off_t>(offset)); });
  if (count < 0) RaiseErrno(errno);
  return static_cast<std::size_t>(count);
}

// pwrite past the end would grow the file, and the end can move between a
// size check and the write. A store through a shared mapping of the bytes'
// page cannot grow it: past the end it faults (or, in the file's last page,
// lands outside the file, which the size check after the flush catches).
void Store(Handle handle, std::int64_t offset, std::span<const std::uint8_t> bytes) {
  ForEachPage(offset, bytes, [&](std::int64_t at, std::span<const std::uint8_t> run) {
    const std::int64_t page = PageSize();
    const std::int64_t start = at - at % page;
    void* mapped = ::mmap(nullptr, static_cast<std::size_t>(page), PROT_READ | PROT_WRITE,
                          MAP_SHARED, Fd(handle), static_cast<off_t>(start));
    if (mapped == MAP_FAILED) RaiseErrno(errno);
    DropFolioOfPage(handle, start, page, mapped);
    // Without read-ahead the store's fault reads the page alone, into a folio
    // of its own.
    ::madvise(mapped, static_cast<std::size_t>(page), MADV_RANDOM);
    const bool stored =
        StoreFaultless(static_cast<volatile std::uint8_t*>(mapped) + (at - start), run);
    ::munmap(mapped, static_cast<std::size_t>(page));
    if (stored) return;
    if (at + std::ssize(run) > Size(handle)) throw RuntimeError(kWritePastEndOfFile);
    throw StoreFailure(handle, at);
  });
}

void Sync(Handle handle) {
  if (RetryInterrupted([&] { return ::fsync(Fd(handle)); }) != 0) RaiseErrno(errno);
}

// fsync reports the write-back failures the kernel learns of, and it can
// miss some. Seen on Linux 6.18 with the image on ext2 on a loop device
// whose backing file lies on a full tmpfs, with a hole under the byte's
// block: the store dirties the whole large folio that holds the page, its
// write-back reaches the loop device as one request of up to 2 MiB, the
// backing file takes the part before the hole and refuses the rest, and
// the loop driver completes the short write as a success. fsync returns 0
// and the byte is lost. So the byte is read back from the disk itself.
void ConfirmStored(Handle handle, std::int64_t offset, std::span<const std::uint8_t> bytes) {
  ForEachPage(offset, bytes, [&](std::int64_t at, std::span<const std::uint8_t> ours) {
    const std::optional<std::vector<std::uint8_t>> on_disk = ReadPastCache(handle, at, ours.size());
    if (!on_disk || std::equal(ours.begin(), ours.end(), on_disk->begin())) return;
    // Another program that wrote a byte after us leaves its own value in
    // the cache: ours was replaced, not lost.
    std::vector<std::uint8_t> cached(ours.size());
    cached.resize(ReadSome(handle, at, cached));
    for (std::size_t i = 0; i < ours.size(); ++i) {
      if ((*on_disk)[i] != ours[i] && i < cached.size() && cached[i] == ours[i]) {
        throw RuntimeError(kDeviceIoError);
      }
    }
  });
}

void Close(Handle handle) {
  // After close() the descriptor is gone whatever it returns; EINTR there
  // does not mean the data is lost, since the flush already succeeded.
  if (::close(Fd(handle)) != 0 && errno != EINTR) RaiseErrno(errno);
}

void Release(Handle handle) noexcept {
  ::close(Fd(handle));
}

}  // namespace vantrel::file_handle
