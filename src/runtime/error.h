#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace vantrel {

// Error numbers as the classic runtime numbers them; users and scripts know
// them from the failure box ("Error: 53").
enum ErrorNumber : std::int32_t {
  kInvalidProcedureCall = 5,
  kOutOfMemory = 7,
  kTypeMismatch = 13,
  kBadFileNameOrNumber = 52,
  kFileNotFound = 53,
  kDeviceIoError = 57,
  kDiskFull = 61,
  kInputPastEndOfFile = 62,
  kBadRecordNumber = 63,
  kTooManyFiles = 67,
  kDeviceUnavailable = 68,
  kPermissionDenied = 70,
  kPathFileAccessError = 75,
  kPathNotFound = 76,
  // Our own: the runtime would have grown the file; we refuse instead.
  kWritePastEndOfFile = 1001,
  // Our own: a network file system no longer knows the file we had open.
  kStaleFileHandle = 1002,
  // Our own: the user's share of the disk is used up, though the disk is not.
  kDiskQuotaExceeded = 1003,
};

// The description the runtime gives for a number ("File not found").
std::string DescriptionOf(std::int32_t number);

// A failing runtime operation: a number and a description text.
class RuntimeError : public std::exception {
 public:
  explicit RuntimeError(std::int32_t number);
  RuntimeError(std::int32_t number, std::string description);

  std::int32_t Number() const noexcept { return number_; }
  const std::string& Description() const noexcept { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  std::int32_t number_;
  std::string description_;
};

// A file another program holds (a lease, a sharing lock): the runtime's 70,
// with a text that says why, since no permission is missing.
RuntimeError FileInUseError();

}  // namespace vantrel
