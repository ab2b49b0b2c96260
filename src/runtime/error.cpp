#include "runtime/error.h"

#include <utility>

namespace vantrel {

std::string DescriptionOf(std::int32_t number) {
  switch (number) {
    case kInvalidProcedureCall:
      return "Invalid procedure call or argument";
    case kOutOfMemory:
      return "Out of memory";
    case kTypeMismatch:
      return "Type mismatch";
    case kBadFileNameOrNumber:
      return "Bad file name or number";
    case kFileNotFound:
      return "File not found";
    case kDeviceIoError:
      return "Device I/O error";
    case kDiskFull:
      return "Disk full";
    case kInputPastEndOfFile:
      return "Input past end of file";
    case kBadRecordNumber:
      return "Bad record number";
    case kTooManyFiles:
      return "Too many files";
    case kDeviceUnavailable:
      return "Device unavailable";
    case kPermissionDenied:
      return "Permission denied";
    case kPathFileAccessError:
      return "Path/File access error";
    case kPathNotFound:
      return "Path not found";
    case kWritePastEndOfFile:
      return "Write past end of file";
    case kStaleFileHandle:
      return "Stale file handle";
    case kDiskQuotaExceeded:
      return "Disk quota exceeded";
    default:
      return "Application-defined or object-defined error";
  }
}

RuntimeError::RuntimeError(std::int32_t number) : RuntimeError(number, DescriptionOf(number)) {}

RuntimeError::RuntimeError(std::int32_t number, std::string description)
    : number_(number), description_(std::move(description)) {}

RuntimeError FileInUseError() {
  return RuntimeError(kPermissionDenied,
                      "Permission denied (the file is in use by another program)");
}

}  // namespace vantrel
