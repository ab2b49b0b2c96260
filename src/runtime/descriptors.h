#pragma once

#include <string_view>

// The standard streams by their descriptors, as each platform gives them.
namespace vantrel::descriptors {

inline constexpr int kStandardOutput = 1;
inline constexpr int kStandardError = 2;

// Writes what one call takes of `bytes`; -1 on a failure, errno saying why.
long WriteSome(int descriptor, std::string_view bytes);

// Whether `descriptor` is a terminal.
bool IsTerminal(int descriptor);

// Stops the system translating line ends written to `descriptor`, before
// binary goes there (Windows; elsewhere nothing to do).
void MakeBinary(int descriptor);

// The console shows UTF-8 while this lives, and its own code page again
// once everything has been written (Windows; elsewhere the terminal's
// encoding is the user's).
class Utf8Console {
 public:
  Utf8Console();
  ~Utf8Console();
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

 private:
  [[maybe_unused]] unsigned previous_ = 0;
};

}  // namespace vantrel::descriptors
