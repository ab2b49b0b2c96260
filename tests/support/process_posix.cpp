#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

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
  std::vector<std::string> command;
  if (unprivileged && geteuid() == 0) {
    command = {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"};
  }
  command.insert(command.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : command) argv.push_back(argument.data());
  argv.push_back(nullptr);

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
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
  }
  ProgramResult result;
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = Slurp(out_path);
  result.err = Slurp(err_path);
  return result;
}

}  // namespace vantrel::test
