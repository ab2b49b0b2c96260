#include "sound_server.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/process.h"

namespace vantrel::qt::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kSink = "vantrel_test";

// Starts `arguments` with `environment` added, standard output to `out` and
// standard error to `err`, and returns at once.
pid_t Start(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
            const fs::path& out, const fs::path& err) {
  std::vector<std::string> variables = environment;
  for (char** variable = environ; *variable != nullptr; ++variable)
    variables.emplace_back(*variable);
  std::vector<char*> argv;
  std::vector<std::string> copied = arguments;
  for (std::string& argument : copied) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);
  const std::string out_name = out.string();
  const std::string err_name = err.string();
  const pid_t child = fork();
  if (child == 0) {
    const int in = open("/dev/null", O_RDONLY);
    const int output = open(out_name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int error = open(err_name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || output < 0 || error < 0) _exit(126);
    dup2(in, 0);
    dup2(output, 1);
    dup2(error, 2);
    // getenv takes the first of two entries of a name: ours come first.
    execvpe(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  return child;
}

void Stop(pid_t& process, int signal) {
  if (process <= 0) return;
  kill(process, signal);
  waitpid(process, nullptr, 0);
  process = -1;
}

}  // namespace

PrivateSoundServer::PrivateSoundServer() {
  fs::create_directories(dir_.Path() / "run");
  fs::create_directories(dir_.Path() / "home");
  const std::string run = (dir_.Path() / "run").string();
  // A sink that rewinds to start a new stream sooner plays the stream's
  // start over what its monitor has already recorded as silence, and the
  // recording loses it: this one never rewinds.
  server_ = Start({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                   "--load=module-null-sink norewinds=1 sink_name=" + std::string(kSink),
                   "--load=module-native-protocol-unix auth-anonymous=1 socket=" + run + "/native"},
                  {"XDG_RUNTIME_DIR=" + run, "PULSE_RUNTIME_PATH=" + run,
                   "HOME=" + (dir_.Path() / "home").string()},
                  dir_.Path() / "server.out", dir_.Path() / "server.log");
  for (int attempt = 0; attempt < 100 && !running_; ++attempt) {
    std::this_thread::sleep_for(100ms);
    running_ = vantrel::test::RunProgram({"pactl", "--server=" + Address(), "info"}).exit_code == 0;
  }
}

PrivateSoundServer::~PrivateSoundServer() {
  Stop(recorder_, SIGINT);
  Stop(server_, SIGTERM);
}

std::string PrivateSoundServer::Failure() const {
  std::ifstream log(dir_.Path() / "server.log");
  std::ostringstream text;
  text << log.rdbuf();
  return "the private sound server did not answer: " + text.str();
}

std::string PrivateSoundServer::Address() const {
  return "unix:" + (dir_.Path() / "run" / "native").string();
}

// Without a low latency, and without SIGINT to end it, parec hands back
// silence.
void PrivateSoundServer::StartRecording() {
  const fs::path recording = dir_.Path() / "recording.raw";
  recorder_ = Start({"parec", "--server=" + Address(), "-d", std::string(kSink) + ".monitor",
                     "--raw", "--format=s16le", "--rate=" + std::to_string(kRecordingRate),
                     "--channels=1", "--latency-msec=20"},
                    {}, recording, dir_.Path() / "recorder.log");
  // Recording has begun once the first silence arrives.
  const auto begun = [&] {
    std::error_code missing;
    const std::uintmax_t size = fs::file_size(recording, missing);
    return !missing && size > 0;
  };
  for (int attempt = 0; attempt < 500 && !begun(); ++attempt) std::this_thread::sleep_for(10ms);
}

std::vector<std::int16_t> PrivateSoundServer::StopRecording() {
  Stop(recorder_, SIGINT);
  std::ifstream file(dir_.Path() / "recording.raw", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), {});
  std::vector<std::int16_t> samples(bytes.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    samples[i] = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[2 * i]) |
                                           static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8);
  }
  return samples;
}

}  // namespace vantrel::qt::test
