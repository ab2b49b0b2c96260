// Loaded with LD_PRELOAD: makes one call of a file function fail, or runs a
// command just before one, so that the tests can see how the program copes
// with a disk that fails and with other programs changing the image while
// it works. Set
//   VANTREL_FAULT_PATH    the image path; only calls on it (and on the
//                         descriptors opened from it) count
//   VANTREL_FAULT_CALL    open, pread, mmap, fsync or close
//   VANTREL_FAULT_ERRNO   the error number to fail with
//   VANTREL_FAULT_NTH     which counted call of that function fails, from 1
//   VANTREL_PAUSE_AT      where to run a command: after-check (after a read
//                         of the image's header), or before a write-open (an
//                         open of the image that can write), a write (a
//                         writable mapping of it) or a flush (fsync)
//   VANTREL_PAUSE_RUN     the shell command run there, once
//   VANTREL_FAULT_REPORT  a file that gets a line for each thing done or seen:
//                         "fired", "paused", and "special" when the program
//                         opened (not merely located) a FIFO or device at the
//                         image's name
// A failed close still closes, as Linux does; the other calls do nothing.

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace {

enum Call { kOpen, kPread, kMmap, kFsync, kClose, kCallCount };
enum Pause { kNoPause, kAfterCheck, kBeforeWriteOpen, kBeforeWrite, kBeforeFlush };

struct Plan {
  const char* path = nullptr;
  int call = -1;
  int error = 0;
  long nth = 0;
  Pause pause = kNoPause;
  const char* pause_command = nullptr;
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
      constexpr std::array<std::string_view, kCallCount> kNames = {"open", "pread", "mmap", "fsync",
                                                                   "close"};
      for (int i = 0; i < kCallCount; ++i) {
        if (kNames[static_cast<std::size_t>(i)] == call) p.call = i;
      }
    }
    if (const char* pause = std::getenv("VANTREL_PAUSE_AT")) {
      const std::string_view at = pause;
      p.pause = at == "after-check"  ? kAfterCheck
                : at == "write-open" ? kBeforeWriteOpen
                : at == "write"      ? kBeforeWrite
                : at == "flush"      ? kBeforeFlush
                                     : kNoPause;
    }
    p.pause_command = std::getenv("VANTREL_PAUSE_RUN");
    return p;
  }();
  return plan;
}

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// Descriptors of the image, the program holds few: those that only locate
// it (O_PATH), which no read, write or flush goes through, and those that
// open it, whose calls count.
enum FdKind : char { kOther, kLocates, kOpens };
std::array<FdKind, 4096> image_fds{};
std::array<long, kCallCount> counts{};
bool paused = false;

FdKind KindOf(int fd) {
  if (fd < 0 || static_cast<std::size_t>(fd) >= image_fds.size()) return kOther;
  return image_fds[static_cast<std::size_t>(fd)];
}

bool IsImageFd(int fd) {
  return KindOf(fd) == kOpens;
}

// The image by its name, or reopened through /proc from a descriptor of it.
bool IsImagePath(const char* path) {
  if (ThePlan().path == nullptr || path == nullptr) return false;
  if (std::strcmp(path, ThePlan().path) == 0) return true;
  constexpr std::string_view kSelf = "/proc/self/fd/";
  const std::string_view name = path;
  return name.starts_with(kSelf) && KindOf(std::atoi(path + kSelf.size())) != kOther;
}

void Report(std::string_view line) {
  if (ThePlan().report == nullptr) return;
  static const auto real_open = Next<int (*)(const char*, int, ...)>("open");
  const int fd = real_open(ThePlan().report, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  const std::string text = std::string(line) + "\n";
  [[maybe_unused]] const ssize_t written = write(fd, text.data(), text.size());
  Next<int (*)(int)>("close")(fd);
}

// Counts a call on the image; true when this one is to fail (errno is set).
bool Fails(Call call) {
  if (ThePlan().call != call) return false;
  if (++counts[call] != ThePlan().nth) return false;
  Report("fired");
  errno = ThePlan().error;
  return true;
}

// Runs the pause command the first time the program reaches `pause`, with
// the library left out of its environment, and waits for it.
void PauseAt(Pause pause) {
  if (ThePlan().pause != pause || paused || ThePlan().pause_command == nullptr) return;
  paused = true;
  std::vector<char*> environment;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (!std::string_view(*entry).starts_with("LD_PRELOAD=")) environment.push_back(*entry);
  }
  environment.push_back(nullptr);
  char shell[] = "/bin/sh";
  char flag[] = "-c";
  std::string command = ThePlan().pause_command;
  char* arguments[] = {shell, flag, command.data(), nullptr};
  const int saved = errno;
  const pid_t child = fork();
  if (child == 0) {
    execve(shell, arguments, environment.data());
    _exit(127);
  }
  int status = 0;
  if (child > 0) waitpid(child, &status, 0);
  Report("paused");
  errno = saved;
}

mode_t ModeOf(int flags, va_list arguments) {
  return (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

// Before an open of the image: pauses there or fails it when planned.
bool OpenFails(const char* path, int flags) {
  if (!IsImagePath(path)) return false;
  if ((flags & O_ACCMODE) != O_RDONLY && (flags & O_PATH) == 0) PauseAt(kBeforeWriteOpen);
  return Fails(kOpen);
}

int Opened(const char* path, int flags, int fd) {
  if (fd < 0 || !IsImagePath(path)) return fd;
  if (static_cast<std::size_t>(fd) < image_fds.size()) {
    image_fds[static_cast<std::size_t>(fd)] = (flags & O_PATH) != 0 ? kLocates : kOpens;
  }
  struct stat info {};
  if ((flags & O_PATH) == 0 && fstat(fd, &info) == 0 && !S_ISREG(info.st_mode)) {
    Report("special");
  }
  return fd;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeOf(flags, arguments);
  va_end(arguments);
  if (OpenFails(path, flags)) return -1;
  return Opened(path, flags, Next<int (*)(const char*, int, ...)>("open")(path, flags, mode));
}

int openat(int dirfd, const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeOf(flags, arguments);
  va_end(arguments);
  if (OpenFails(path, flags)) return -1;
  return Opened(path, flags,
                Next<int (*)(int, const char*, int, ...)>("openat")(dirfd, path, flags, mode));
}

ssize_t pread(int fd, void* buffer, size_t count, off_t offset) {
  if (!IsImageFd(fd))
    return Next<ssize_t (*)(int, void*, size_t, off_t)>("pread")(fd, buffer, count, offset);
  if (Fails(kPread)) return -1;
  const ssize_t result =
      Next<ssize_t (*)(int, void*, size_t, off_t)>("pread")(fd, buffer, count, offset);
  if (offset == 0) PauseAt(kAfterCheck);
  return result;
}

void* mmap(void* address, size_t length, int protection, int flags, int fd, off_t offset) {
  if (IsImageFd(fd)) {
    if ((protection & PROT_WRITE) != 0) PauseAt(kBeforeWrite);
    if (Fails(kMmap)) return MAP_FAILED;
  }
  return Next<void* (*)(void*, size_t, int, int, int, off_t)>("mmap")(address, length, protection,
                                                                      flags, fd, offset);
}

int fsync(int fd) {
  if (IsImageFd(fd)) {
    PauseAt(kBeforeFlush);
    if (Fails(kFsync)) return -1;
  }
  return Next<int (*)(int)>("fsync")(fd);
}

int close(int fd) {
  const bool image = IsImageFd(fd);
  if (KindOf(fd) != kOther) image_fds[static_cast<std::size_t>(fd)] = kOther;
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
void* mmap64(void* address, size_t length, int protection, int flags, int fd, off_t offset)
    __attribute__((alias("mmap")));

}  // extern "C"
