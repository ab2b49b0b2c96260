#include <windows.h>

#include <algorithm>

#include "runtime/error.h"
#include "runtime/file_handle.h"

namespace vantrel::file_handle {
namespace {

// NTFS's disk quota, ERROR_DISK_QUOTA_EXCEEDED, which MinGW's headers lack.
constexpr DWORD kErrorDiskQuotaExceeded = 1295;

HANDLE Native(Handle handle) {
  return reinterpret_cast<HANDLE>(handle);
}

RuntimeError ErrorFor(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return RuntimeError(kFileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
      return RuntimeError(kPathNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return RuntimeError(kPermissionDenied);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileInUseError();
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
      return RuntimeError(kBadFileNameOrNumber);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return RuntimeError(kDiskFull);
    case kErrorDiskQuotaExceeded:
      return RuntimeError(kDiskQuotaExceeded);
    case ERROR_HANDLE_EOF:
      return RuntimeError(kInputPastEndOfFile);
    case ERROR_TOO_MANY_OPEN_FILES:
      return RuntimeError(kTooManyFiles);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return RuntimeError(kOutOfMemory);
    default:
      return RuntimeError(kDeviceIoError);
  }
}

[[noreturn]] void RaiseLastError() {
  throw ErrorFor(GetLastError());
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

Handle Open(const std::filesystem::path& path, bool for_writing) {
  const std::wstring name = FileSystemName(path);
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    throw RuntimeError(kPathFileAccessError);
  }
  // Windows refuses to write a read-only file to every user, but Wine run as
  // root does not: check the attribute so that both behave alike.
  if (for_writing && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    throw RuntimeError(kPermissionDenied);
  }
  // Readers share everything: an emulator may keep the image open while we
  // patch it. A writer shuts other writers out for as long as it holds the
  // file, so nobody can cut it short between the size check and the write.
  const DWORD rights = for_writing ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
  const DWORD sharing = for_writing ? FILE_SHARE_READ | FILE_SHARE_DELETE
                                    : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE handle = CreateFileW(name.c_str(), rights, sharing, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) RaiseLastError();
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    CloseHandle(handle);
    throw RuntimeError(kPathFileAccessError);
  }
  return reinterpret_cast<Handle>(handle);
}

std::int64_t Size(Handle handle) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(Native(handle), &size)) RaiseLastError();
  return size.QuadPart;
}

std::size_t ReadSome(Handle handle, std::int64_t offset, std::span<std::uint8_t> into) {
  DWORD count = 0;
  OVERLAPPED position = At(offset);
  const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(into.size(), 1 << 20));
  if (!ReadFile(Native(handle), into.data(), wanted, &count, &position)) {
    if (GetLastError() == ERROR_HANDLE_EOF) return 0;
    RaiseLastError();
  }
  return count;
}

// No other handle can write while ours is open (see Open), so the size the
// caller checked still holds and WriteFile cannot grow the file.
void Store(Handle handle, std::int64_t offset, std::span<const std::uint8_t> bytes) {
  DWORD count = 0;
  OVERLAPPED position = At(offset);
  const DWORD size = static_cast<DWORD>(bytes.size());
  if (!WriteFile(Native(handle), bytes.data(), size, &count, &position)) RaiseLastError();
  if (count != size) throw RuntimeError(kDeviceIoError);
}

void Sync(Handle handle) {
  if (!FlushFileBuffers(Native(handle))) RaiseLastError();
}

// WriteFile hands the bytes to the file system as a write of their own, and
// FlushFileBuffers reports that write's failure: no mapping here has its
// write-back go unreported, so there is nothing to read back.
void ConfirmStored(Handle, std::int64_t, std::span<const std::uint8_t>) {}

void Close(Handle handle) {
  if (!CloseHandle(Native(handle))) RaiseLastError();
}

void Release(Handle handle) noexcept {
  CloseHandle(Native(handle));
}

}  // namespace vantrel::file_handle
