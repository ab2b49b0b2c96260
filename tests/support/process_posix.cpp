#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/process.h"
#include "support/temp_files.h"

namespace vantrel::test {
namespace {

std::string Slurp(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

ProgramResult RunProgram(const std::vector<std::string>& arguments, bool unprivileged) {
  RunOptions options;
  options.unprivileged = unprivileged;
  return RunProgram(arguments, options);
}

ProgramResult RunProgram(const std::vector<std::string>& arguments, const RunOptions& options) {
  std::vector<std::string> command;
  if (options.unprivileged && geteuid() == 0) {
    command = {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"};
  }
  command.insert(command.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : command) argv.push_back(argument.data());
  argv.push_back(nullptr);
  // Made before fork: the child of a threaded test may not allocate.
  std::vector<std::string> environment;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string_view entry(*variable);
    const bool replaced =
        std::any_of(options.environment.begin(), options.environment.end(),
                    [&](const auto& set) { return entry.substr(0, entry.find('=')) == set.first; });
    if (!replaced) environment.emplace_back(entry);
  }
  for (const auto& [name, value] : options.environment) environment.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (std::string& variable : environment) envp.push_back(variable.data());
  envp.push_back(nullptr);

  // Output goes to files rather than pipes, so a chatty program cannot block.
  TempDir folder;
  const fs::path out_path = folder / "out";
  const fs::path err_path = folder / "err";
  const pid_t child = fork();
  if (child < 0) std::abort();
  if (child == 0) {
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    execvpe(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  ProgramResult result;
  int status = 0;
  const bool limited = options.time_limit.count() > 0;
  const auto deadline = std::chrono::steady_clock::now() + options.time_limit;
  for (;;) {
    const pid_t ended = waitpid(child, &status, limited && !result.timed_out ? WNOHANG : 0);
    if (ended == child) break;
    if (ended == 0 && std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      result.timed_out = true;
    } else if (ended == 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = Slurp(out_path);
  result.err = Slurp(err_path);
  return result;
}

}  // namespace vantrel::test
