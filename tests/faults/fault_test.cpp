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

std::int32_t ReportedNumber(int error) {
  return error == EIO ? kDeviceIoError : error == ENOSPC ? kDiskFull : kPermissionDenied;
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

class FaultTest : public ::testing::TestWithParam<const char*> {
 protected:
  // Runs `writer` on a fresh image with `fault` loaded; says whether the
  // fault was made.
  bool Run(const Writer& writer, const Fault& fault, ProgramResult& result) {
    test::MakeImage(image, test::kImageSize, kMadeCry);
    fs::remove(report);
    std::vector<std::string> arguments = writer.arguments;
    for (std::string& argument : arguments) {
      if (argument == "IMAGE") argument = Utf8FromPath(image);
    }
    test::RunOptions options;
    options.environment = {
        {"LD_PRELOAD", VANTREL_FAULT_PRELOAD},
        {"VANTREL_FAULT_PATH", Utf8FromPath(image)},
        {"VANTREL_FAULT_CALL", fault.call},
        {"VANTREL_FAULT_ERRNO", std::to_string(fault.error)},
        {"VANTREL_FAULT_NTH", std::to_string(fault.nth)},
        {"VANTREL_FAULT_REPORT", Utf8FromPath(report)},
    };
    result = test::RunProgram(arguments, options);
    return fs::exists(report);
  }

  test::TempDir dir;
  fs::path image = dir / "image.gba";
  fs::path report = dir / "fired";
  std::vector<std::uint8_t> made = test::ImageBytes(test::kImageSize, kMadeCry);
};

// Every writer, every error, the first calls of the function: a failure is
// reported with its number and nothing else; an interrupted call is made
// again; the image holds the old byte or the new one and nothing else.
TEST_P(FaultTest, FailureIsReportedAndTheImageHoldsTheOldOrTheNewByte) {
  const std::string call = GetParam();
  for (const Writer& writer : Writers()) {
    std::vector<std::uint8_t> written = made;
    written[0x791EE] = writer.value;
    for (int error : {EIO, ENOSPC, EACCES, EINTR}) {
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
          const std::int32_t number = ReportedNumber(error);
          const std::string title = "Error: " + std::to_string(number);
          if (writer.window) {
            const std::string box = title + "|" + DescriptionOf(number) + "\n";
            EXPECT_TRUE(result.out == box || result.out == kOpenedBox + box) << result.out;
            EXPECT_EQ(result.exit_code, 0);
          } else {
            EXPECT_EQ(result.exit_code, 1);
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(result.err, title + ": " + DescriptionOf(number) + "\n");
          }
          EXPECT_TRUE(after == made || after == written);
        }
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
                         ::testing::Values("open", "pread", "pwrite", "fsync", "close"));

}  // namespace
}  // namespace vantrel
