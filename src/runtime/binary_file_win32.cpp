#include <windows.h>

#include <algorithm>

#include "runtime/binary_file.h"
#include "runtime/error.h"

namespace vantrel {
namespace {

HANDLE Native(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

std::int32_t NumberForError(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
      return kPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return kPermissionDenied;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
      return kBadFileNameOrNumber;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return kDiskFull;
    case ERROR_HANDLE_EOF:
      return kInputPastEndOfFile;
    default:
      return kDeviceIoError;
  }
}

[[noreturn]] void RaiseLastError() {
  throw RuntimeError(NumberForError(GetLastError()));
}

// Names of MAX_PATH characters or more reach the file system only with the
// "\\?\" prefix, which also turns off the system's own normalisation: so the
// name is made absolute and normal first. Shorter names stay as they are.
std::wstring FileSystemName(const std::filesystem::path& path) {
  if (path.native().size() < MAX_PATH) return path.native();
  std::error_code failed;
  std::wstring name = std::filesystem::absolute(path, failed).lexically_normal().native();
  if (failed) return path.native();
  if (name.starts_with(L"\\\\?\\")) return name;
  if (name.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + name.substr(2);
  return L"\\\\?\\" + name;
}

OVERLAPPED At(std::int64_t offset) {
  OVERLAPPED position{};
  position.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
  position.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return position;
}

}  // namespace

BinaryFile BinaryFile::Open(const std::filesystem::path& path, Access access) {
  if (path.empty() || path.native().find(L'\0') != std::wstring::npos) {
    throw RuntimeError(kBadFileNameOrNumber);
  }
  const std::wstring name = FileSystemName(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    throw RuntimeError(kPathFileAccessError);
  }
  // Windows refuses to write a read-only file to every user, but Wine run as
  // root does not: check the attribute so that both behave alike.
  if (access == Access::kReadWrite && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    throw RuntimeError(kPermissionDenied);
  }
  const DWORD rights = access == Access::kRead ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  // Share everything: an emulator may keep the image open while we patch it.
  HANDLE handle =
      CreateFileW(name.c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) RaiseLastError();
  BinaryFile file(reinterpret_cast<std::intptr_t>(handle), access);
  if (GetFileType(handle) != FILE_TYPE_DISK) throw RuntimeError(kPathFileAccessError);
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
    CloseHandle(Native(handle_));
    handle_ = kNoHandle;
  }
}

std::int64_t BinaryFile::Size() const {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(Native(handle_), &size)) RaiseLastError();
  return size.QuadPart;
}

std::size_t BinaryFile::Read(std::int64_t offset, std::span<std::uint8_t> into) {
  if (offset < 0) throw RuntimeError(kBadRecordNumber);
  std::size_t done = 0;
  while (done < into.size()) {
    DWORD count = 0;
    OVERLAPPED position = At(offset + static_cast<std::int64_t>(done));
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(into.size() - done, 1 << 20));
    if (!ReadFile(Native(handle_), into.data() + done, wanted, &count, &position)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      RaiseLastError();
    }
    if (count == 0) break;
    done += count;
  }
  return done;
}

void BinaryFile::WriteByte(std::int64_t offset, std::uint8_t value) {
  if (offset < 0) throw RuntimeError(kBadRecordNumber);
  if (offset >= Size()) throw RuntimeError(kWritePastEndOfFile);
  DWORD count = 0;
  OVERLAPPED position = At(offset);
  if (!WriteFile(Native(handle_), &value, 1, &count, &position)) RaiseLastError();
  if (count != 1) throw RuntimeError(kDeviceIoError);
}

void BinaryFile::Close() {
  if (handle_ == kNoHandle) return;
  HANDLE handle = Native(handle_);
  handle_ = kNoHandle;
  if (access_ == Access::kReadWrite && !FlushFileBuffers(handle)) {
    const DWORD error = GetLastError();
    CloseHandle(handle);
    throw RuntimeError(NumberForError(error));
  }
  if (!CloseHandle(handle)) RaiseLastError();
}

}  // namespace vantrel
