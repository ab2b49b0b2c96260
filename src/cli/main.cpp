#include "api/vantrel.h"
#include "cli/arguments.h"
#include "cli/cli.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

// UTF-8 on the console while the tool runs; the console's own code page
// again once everything has been written.
class Utf8ConsoleOutput {
 public:
  Utf8ConsoleOutput() : previous_(GetConsoleOutputCP()) { SetConsoleOutputCP(CP_UTF8); }
  ~Utf8ConsoleOutput() {
    if (previous_ != 0) SetConsoleOutputCP(previous_);
  }
  Utf8ConsoleOutput(const Utf8ConsoleOutput&) = delete;
  Utf8ConsoleOutput& operator=(const Utf8ConsoleOutput&) = delete;

 private:
  UINT previous_;
};

}  // namespace
#else
#include <unistd.h>
#endif

namespace {
constexpr int kStandardOutput = 1;
constexpr int kStandardError = 2;
}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  const Utf8ConsoleOutput utf8;
#endif
  vantrel::cli::StandardOutput standard_output;
#ifdef _WIN32
  standard_output.terminal = _isatty(kStandardOutput) != 0;
  standard_output.make_binary = [] { _setmode(kStandardOutput, _O_BINARY); };
#else
  standard_output.terminal = isatty(kStandardOutput) != 0;
#endif
  // Lines go out as they are made where someone watches; the errors always.
  vantrel::cli::DescriptorOutput out(kStandardOutput, standard_output.terminal);
  vantrel::cli::DescriptorOutput err(kStandardError, true);
  std::vector<std::string> arguments;
  try {
    arguments = vantrel::cli::ProgramArguments(argc, argv);
  } catch (const vantrel::RuntimeError& error) {
    vantrel::cli::PrintFailure(err, "", error);
    return vantrel::cli::kFileFailure;
  }
  return vantrel::cli::Run(arguments, out, err, standard_output);
}
