// Loaded with LD_PRELOAD: makes one call of a file function fail, so that
// the tests can see how the program copes with a disk that fails. Set
//   VANTREL_FAULT_PATH    the image path; only calls on it (and on the
//                         descriptors opened from it) count
//   VANTREL_FAULT_CALL    open, pread, pwrite, fsync or close
//   VANTREL_FAULT_ERRNO   the error number to fail with
//   VANTREL_FAULT_NTH     which counted call of that function fails, from 1
//   VANTREL_FAULT_REPORT  a file that gets a line when the failure is made
// A failed close still closes, as Linux does; the other calls do nothing.

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

enum Call { kOpen, kPread, kPwrite, kFsync, kClose, kCallCount };

struct Plan {
  const char* path = nullptr;
  int call = -1;
  int error = 0;
  long nth = 0;
  const char* report = nullptr;
};

const Plan& ThePlan() {
  static const Plan plan = [] {
    Plan p;
    p.path = std::getenv("VANTREL_FAULT_PATH");
    p.report = std::getenv("VANTREL_FAULT_REPORT");
    const char* error = std::getenv("VANTREL_FAULT_ERRNO");
    const char* nth = std::getenv("VANTREL_FAULT_NTH");
    p.error = error != nullptr ? std::atoi(error) : 0;
    p.nth = nth != nullptr ? std::atol(nth) : 0;
    if (const char* call = std::getenv("VANTREL_FAULT_CALL")) {
      constexpr std::array<std::string_view, kCallCount> kNames = {"open", "pread", "pwrite",
                                                                   "fsync", "close"};
      for (int i = 0; i < kCallCount; ++i) {
        if (kNames[static_cast<std::size_t>(i)] == call) p.call = i;
      }
    }
    return p;
  }();
  return plan;
}

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// Descriptors that name the image; the program holds few.
std::array<bool, 4096> image_fds{};
std::array<long, kCallCount> counts{};

bool IsImageFd(int fd) {
  return fd >= 0 && static_cast<std::size_t>(fd) < image_fds.size() &&
         image_fds[static_cast<std::size_t>(fd)];
}

bool IsImagePath(const char* path) {
  return ThePlan().path != nullptr && path != nullptr && std::strcmp(path, ThePlan().path) == 0;
}

void Report() {
  if (ThePlan().report == nullptr) return;
  static const auto real_open = Next<int (*)(const char*, int, ...)>("open");
  const int fd = real_open(ThePlan().report, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  static constexpr char kLine[] = "fired\n";
  [[maybe_unused]] const ssize_t written = write(fd, kLine, sizeof kLine - 1);
  Next<int (*)(int)>("close")(fd);
}

// Counts a call on the image; true when this one is to fail (errno is set).
bool Fails(Call call) {
  if (ThePlan().call != call) return false;
  if (++counts[call] != ThePlan().nth) return false;
  Report();
  errno = ThePlan().error;
  return true;
}

mode_t ModeOf(int flags, va_list arguments) {
  return (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

int Opened(const char* path, int fd) {
  if (fd >= 0 && IsImagePath(path) && static_cast<std::size_t>(fd) < image_fds.size()) {
    image_fds[static_cast<std::size_t>(fd)] = true;
  }
  return fd;
}

template <typename Buffer>
ssize_t PositionedIo(const char* name, Call call, int fd, Buffer buffer, size_t count,
                     off_t offset) {
  if (IsImageFd(fd) && Fails(call)) return -1;
  return Next<ssize_t (*)(int, Buffer, size_t, off_t)>(name)(fd, buffer, count, offset);
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeOf(flags, arguments);
  va_end(arguments);
  if (IsImagePath(path) && Fails(kOpen)) return -1;
  return Opened(path, Next<int (*)(const char*, int, ...)>("open")(path, flags, mode));
}

int openat(int dirfd, const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeOf(flags, arguments);
  va_end(arguments);
  if (IsImagePath(path) && Fails(kOpen)) return -1;
  return Opened(path,
                Next<int (*)(int, const char*, int, ...)>("openat")(dirfd, path, flags, mode));
}

ssize_t pread(int fd, void* buffer, size_t count, off_t offset) {
  return PositionedIo("pread", kPread, fd, buffer, count, offset);
}

ssize_t pwrite(int fd, const void* buffer, size_t count, off_t offset) {
  return PositionedIo("pwrite", kPwrite, fd, buffer, count, offset);
}

int fsync(int fd) {
  if (IsImageFd(fd) && Fails(kFsync)) return -1;
  return Next<int (*)(int)>("fsync")(fd);
}

int close(int fd) {
  const bool image = IsImageFd(fd);
  if (image) image_fds[static_cast<std::size_t>(fd)] = false;
  const bool fails = image && Fails(kClose);
  const int error = errno;
  const int closed = Next<int (*)(int)>("close")(fd);
  if (!fails) return closed;
  errno = error;
  return -1;
}

// The large-file names are the same calls where off_t has 64 bits.
static_assert(sizeof(off_t) == 8);
int open64(const char* path, int flags, ...) __attribute__((alias("open")));
int openat64(int dirfd, const char* path, int flags, ...) __attribute__((alias("openat")));
ssize_t pread64(int fd, void* buffer, size_t count, off_t offset) __attribute__((alias("pread")));
ssize_t pwrite64(int fd, const void* buffer, size_t count, off_t offset)
    __attribute__((alias("pwrite")));

}  // extern "C"
