#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

// The platform's file calls under BinaryFile, one source file per platform.
// Each raises a RuntimeError with the runtime's number when it fails.
namespace vantrel::file_handle {

using Handle = std::intptr_t;

// Opens the existing regular file `path`, refusing anything else before it
// is opened; with `for_writing`, shuts out what would make a write grow it.
Handle Open(const std::filesystem::path& path, bool for_writing);

std::int64_t Size(Handle handle);

// Reads what one call gives at `offset` (not negative): 0 at or past the end.
std::size_t ReadSome(Handle handle, std::int64_t offset, std::span<std::uint8_t> into);

// Stores `bytes` from `offset` on inside the file without ever making it
// longer, in one store for the bytes of each page; raises
// kWritePastEndOfFile when the file no longer holds them.
void Store(Handle handle, std::int64_t offset, std::span<const std::uint8_t> bytes);

// Puts what was written on disk.
void Sync(Handle handle);

// After Sync: raises when the disk does not hold the `bytes` stored from
// `offset` on, although no call reported a failure.
void ConfirmStored(Handle handle, std::int64_t offset, std::span<const std::uint8_t> bytes);

// Releases the handle; raises when the platform reports a failure, with the
// handle released all the same.
void Close(Handle handle);
void Release(Handle handle) noexcept;

}  // namespace vantrel::file_handle
