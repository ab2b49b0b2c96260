#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

#include "runtime/error.h"
#include "runtime/path_text.h"
#include "support/process.h"
#include "support/temp_files.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using test::ProgramResult;
using test::ReadBytes;

constexpr std::uint8_t kMadeCry = 25;

struct Fault {
  std::string call;
  int error;
  long nth;
};

const std::string kOpenedBox = "Vantrel|ROM opened successfully!\n";

// How each error number reaches the user: the number and text of the
// classic runtime that say truthfully what happened.
RuntimeError Reported(int error) {
  switch (error) {
    case EIO:
      return RuntimeError(kDeviceIoError);
    case ENOSPC:
      return RuntimeError(kDiskFull);
    case ENOMEM:
      return RuntimeError(kOutOfMemory);
    case EMFILE:
      return RuntimeError(kTooManyFiles);
    case ETIMEDOUT:
      return RuntimeError(kDeviceUnavailable);
    case ESTALE:
      return RuntimeError(kStaleFileHandle);
    case EWOULDBLOCK:
      return FileInUseError();
    default:
      return RuntimeError(kPermissionDenied);
  }
}

// The errors each call meets on a real system; a mapping is never
// interrupted, and only an open meets another program's lease.
std::vector<int> ErrorsOf(const std::string& call) {
  if (call == "mmap") return {ENOMEM, EACCES};
  if (call == "open") return {EIO, ENOSPC, EACCES, EINTR, EWOULDBLOCK, EMFILE, ESTALE};
  return {EIO, ENOSPC, EACCES, EINTR, ETIMEDOUT};
}

// What the fault library wrote to its report, one word a line.
std::string ReportOf(const fs::path& report) {
  const std::vector<std::uint8_t> bytes =
      fs::exists(report) ? ReadBytes(report) : std::vector<std::uint8_t>{};
  return std::string(bytes.begin(), bytes.end());
}

bool Has(const std::string& report, std::string_view line) {
  return report.find(std::string(line) + "\n") != std::string::npos;
}

// One write, as the command line or the window makes it: its command, the
// byte it writes and what it says on success.
struct Writer {
  std::string name;
  std::vector<std::string> arguments;  // IMAGE stands for the image
  std::uint8_t value;
  std::string success_out;
  bool window;
};

const std::vector<Writer>& Writers() {
  static const std::vector<Writer> writers = {
      {"set", {VANTREL_CLI_PATH, "set", "IMAGE", "Mew"}, 151, "ROM saved successfully!\n", false},
      {"remove", {VANTREL_CLI_PATH, "remove", "IMAGE"}, 0, "Cry removed successfully!\n", false},
      {"restore", {VANTREL_CLI_PATH, "restore", "IMAGE"}, 6, "Cry restored successfully!\n", false},
      {"window Open and Save",
       {VANTREL_WINDOW_PROBE_PATH, "IMAGE", "200"},
       201,
       "Vantrel|ROM opened successfully!\nVantrel|ROM saved successfully!\n",
       true},
  };
  return writers;
}

class FaultRun : public ::testing::Test {
 protected:
  // Runs `writer` on the image with the fault library told `plan`; returns
  // the library's report.
  std::string Run(const Writer& writer,
                  const std::vector<std::pair<std::string, std::string>>& plan,
                  ProgramResult& result) {
    fs::remove(report);
    std::vector<std::string> arguments = writer.arguments;
    for (std::string& argument : arguments) {
      if (argument == "IMAGE") argument = Utf8FromPath(image);
    }
    test::RunOptions options;
    options.environment = {
        {"LD_PRELOAD", VANTREL_FAULT_PRELOAD},
        {"VANTREL_FAULT_PATH", Utf8FromPath(image)},
        {"VANTREL_FAULT_REPORT", Utf8FromPath(report)},
    };
    options.environment.insert(options.environment.end(), plan.begin(), plan.end());
    result = test::RunProgram(arguments, options);
    return ReportOf(report);
  }

  // Runs `writer` on a fresh image with `fault` loaded; says whether the
  // fault was made.
  bool Run(const Writer& writer, const Fault& fault, ProgramResult& result) {
    test::MakeImage(image, test::kImageSize, kMadeCry);
    return Has(Run(writer,
                   {{"VANTREL_FAULT_CALL", fault.call},
                    {"VANTREL_FAULT_ERRNO", std::to_string(fault.error)},
                    {"VANTREL_FAULT_NTH", std::to_string(fault.nth)}},
                   result),
               "fired");
  }

  test::TempDir dir;
  fs::path image = dir / "image.gba";
  fs::path report = dir / "report";
  std::vector<std::uint8_t> made = test::ImageBytes(test::kImageSize, kMadeCry);
};

class FaultTest : public FaultRun, public ::testing::WithParamInterface<const char*> {};

// Every writer, every error, the first calls of the function: a failure is
// reported with its number and nothing else; an interrupted call is made
// again; the image holds the old byte or the new one and nothing else.
TEST_P(FaultTest, FailureIsReportedAndTheImageHoldsTheOldOrTheNewByte) {
  const std::string call = GetParam();
  for (const Writer& writer : Writers()) {
    std::vector<std::uint8_t> written = made;
    written[0x791EE] = writer.value;
    for (int error : ErrorsOf(call)) {
      for (long nth = 1; nth <= 3; ++nth) {
        const Fault fault{call, error, nth};
        SCOPED_TRACE(writer.name + ", " + fault.call + " call " + std::to_string(nth) +
                     " fails with errno " + std::to_string(error));
        ProgramResult result;
        const bool fired = Run(writer, fault, result);
        // Every writer reads the image, then writes, syncs and closes it:
        // so the first call is always made.
        if (nth == 1) {
          ASSERT_TRUE(fired) << "the fault library did not take the call";
        }
        const std::vector<std::uint8_t> after = ReadBytes(image);
        EXPECT_EQ(after.size(), made.size());
        if (!fired || error == EINTR) {
          EXPECT_EQ(result.exit_code, 0) << result.err;
          EXPECT_EQ(result.out, writer.success_out);
          EXPECT_EQ(result.err, "");
          EXPECT_TRUE(after == written);
        } else {
          // The command line prints the failure on stderr and exits 1; the
          // window shows it in the failure box, after the box of a
          // successful Open when the write failed.
          const RuntimeError reported = Reported(error);
          const std::string title = "Error: " + std::to_string(reported.Number());
          if (writer.window) {
            const std::string box = title + "|" + reported.Description() + "\n";
            EXPECT_TRUE(result.out == box || result.out == kOpenedBox + box) << result.out;
            EXPECT_EQ(result.exit_code, 0);
          } else {
            EXPECT_EQ(result.exit_code, 1);
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(result.err, title + ": " + reported.Description() + "\n");
          }
          EXPECT_TRUE(after == made || after == written);
        }
      }
    }
  }
}

// Without /proc the file cannot be reopened through the descriptor that
// located it: it is opened by name again, and used only if it is the file
// checked.
TEST_F(FaultRun, WithoutProcTheImageIsOpenedByNameAndStillWritten) {
  for (const Writer& writer : Writers()) {
    SCOPED_TRACE(writer.name);
    std::vector<std::uint8_t> written = made;
    written[0x791EE] = writer.value;
    ProgramResult result;
    ASSERT_TRUE(Run(writer, Fault{"open", ENOENT, 2}, result));
    EXPECT_EQ(result.out, writer.success_out) << result.err;
    EXPECT_TRUE(ReadBytes(image) == written);
  }
}

// Another program acts on the image while a writer is at one step of its
// write: it renames another file into place, puts a FIFO or a device at the
// name, or cuts the image short. The writer's file is kept reachable by a
// second name. No file but the one checked may change, none may grow, and
// success is reported only when the byte is in the file checked.
struct Race {
  std::string what;
  std::string pause;    // where the writer stops
  std::string command;  // run there; IMAGE and OTHER stand for the files
  std::uintmax_t cut_to = 0;
};

// The window opens the image anew for each command, by design, so only the
// command line has a check and a write to keep together.
const Race kRenamedAfterTheCheck{"another image renamed into place", "after-check",
                                 "mv OTHER IMAGE"};
const Race kRaces[] = {
    kRenamedAfterTheCheck,
    {"a FIFO put in its place", "write-open", "rm IMAGE && mkfifo IMAGE"},
    {"a device linked in its place", "write-open", "ln -sf /dev/null IMAGE"},
    {"cut short past the byte's page", "write", "truncate -s 4096 IMAGE", 4096},
    {"cut short inside the byte's page", "write", "truncate -s 495872 IMAGE", 495872},
    {"cut short before the flush", "flush", "truncate -s 495872 IMAGE", 495872},
};

std::string Replaced(std::string text, std::string_view name, const fs::path& path) {
  for (std::size_t at; (at = text.find(name)) != std::string::npos;) {
    text.replace(at, name.size(), "'" + Utf8FromPath(path) + "'");
  }
  return text;
}

TEST_F(FaultRun, AnotherProgramActingDuringTheWriteChangesNothingElse) {
  const fs::path kept = dir / "kept.gba";
  const fs::path other = dir / "other.gba";
  std::vector<std::uint8_t> foreign = test::ImageBytes(test::kImageSize, 77);
  std::copy_n("AXVE", 4, foreign.begin() + 0xAC);
  for (const Writer& writer : Writers()) {
    std::vector<std::uint8_t> written = made;
    written[0x791EE] = writer.value;
    for (const Race& race : kRaces) {
      if (writer.window && race.pause == kRenamedAfterTheCheck.pause) continue;
      SCOPED_TRACE(writer.name + ": " + race.what + " at " + race.pause);
      fs::remove(image);
      fs::remove(kept);
      test::MakeImage(image, test::kImageSize, kMadeCry);
      fs::create_hard_link(image, kept);
      test::WriteBytes(other, foreign);
      ProgramResult result;
      const std::string report = Run(
          writer,
          {{"VANTREL_PAUSE_AT", race.pause},
           {"VANTREL_PAUSE_RUN", Replaced(Replaced(race.command, "IMAGE", image), "OTHER", other)}},
          result);
      ASSERT_TRUE(Has(report, "paused")) << result.err;
      EXPECT_FALSE(Has(report, "special"));
      const bool succeeded =
          writer.window ? result.out == writer.success_out : result.exit_code == 0;
      std::vector<std::uint8_t> after = ReadBytes(kept);
      if (race.cut_to != 0) {
        EXPECT_EQ(after.size(), race.cut_to);
        EXPECT_FALSE(succeeded) << result.out;
        const std::string failure = "Error: 1001";
        EXPECT_NE((writer.window ? result.out : result.err).find(failure), std::string::npos)
            << result.out << result.err;
        continue;
      }
      EXPECT_TRUE(succeeded ? after == written : after == made) << result.out << result.err;
      if (race.command.starts_with("mv")) {
        EXPECT_TRUE(ReadBytes(image) == foreign);
      }
    }
  }
}

// Two programs writing the same image at once: each succeeds, and the image
// holds one of the two values with every other byte as it was.
TEST(ConcurrentWriters, LeaveOneOfTheTwoValuesAndNothingElse) {
  test::TempDir dir;
  const fs::path image = test::MakeImage(dir / "image.gba", test::kImageSize, kMadeCry);
  const std::vector<std::uint8_t> made = ReadBytes(image);
  const std::string name = Utf8FromPath(image);
  for (int round = 0; round < 100; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    ProgramResult first;
    std::thread other([&] { first = test::RunProgram({VANTREL_CLI_PATH, "set", name, "1"}); });
    const ProgramResult second = test::RunProgram({VANTREL_CLI_PATH, "set", name, "Celebi"});
    other.join();
    EXPECT_EQ(first.exit_code, 0) << first.err;
    EXPECT_EQ(second.exit_code, 0) << second.err;
    std::vector<std::uint8_t> after = ReadBytes(image);
    ASSERT_EQ(after.size(), made.size());
    EXPECT_TRUE(after[0x791EE] == 1 || after[0x791EE] == 251) << int{after[0x791EE]};
    after[0x791EE] = kMadeCry;
    ASSERT_TRUE(after == made);
  }
}

INSTANTIATE_TEST_SUITE_P(EachCall, FaultTest,
                         ::testing::Values("open", "pread", "mmap", "fsync", "close"));

}  // namespace
}  // namespace vantrel
