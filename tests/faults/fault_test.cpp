#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <thread>

#include "image_format/species_numbers.h"
#include "image_format/title_screen_code.h"
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
    case EDQUOT:
      return RuntimeError(kDiskQuotaExceeded);
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
  return {EIO, ENOSPC, EDQUOT, EACCES, EINTR, ETIMEDOUT};
}

// What the fault library wrote to its report, one word a line.
std::string ReportOf(const fs::path& report) {
  const std::vector<std::uint8_t> bytes =
      fs::exists(report) ? ReadBytes(report) : std::vector<std::uint8_t>{};
  return std::string(bytes.begin(), bytes.end());
}

// A failure as a writer tells it: a line on stderr, or the window's box.
std::string FailureText(const RuntimeError& error, bool window) {
  return "Error: " + std::to_string(error.Number()) + (window ? "|" : ": ") + error.Description();
}

bool Has(const std::string& report, std::string_view line) {
  return report.find(std::string(line) + "\n") != std::string::npos;
}

// One write, as the command line or the window makes it: its command, the
// species it writes (past 251, the title screen's whole window) and what it
// says on success.
struct Writer {
  std::string name;
  std::vector<std::string> arguments;  // IMAGE stands for the image
  int species;
  std::string success_out;
  bool window;
};

const std::string kSavedBoxes =
    "Vantrel|ROM opened successfully!\nVantrel|ROM saved successfully!\n";

const std::vector<Writer>& Writers() {
  static const std::vector<Writer> writers = {
      {"set", {VANTREL_CLI_PATH, "set", "IMAGE", "Mew"}, 151, "ROM saved successfully!\n", false},
      {"set past 251",
       {VANTREL_CLI_PATH, "set", "IMAGE", "Rayquaza"},
       384,
       "ROM saved successfully!\n",
       false},
      {"remove", {VANTREL_CLI_PATH, "remove", "IMAGE"}, 0, "Cry removed successfully!\n", false},
      {"restore", {VANTREL_CLI_PATH, "restore", "IMAGE"}, 6, "Cry restored successfully!\n", false},
      {"window Open and Save", {VANTREL_WINDOW_PROBE_PATH, "IMAGE", "200"}, 201, kSavedBoxes, true},
      {"window Open and Save past 251",
       {VANTREL_WINDOW_PROBE_PATH, "IMAGE", "383"},
       384,
       kSavedBoxes,
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

  // The made image as `writer` leaves it.
  std::vector<std::uint8_t> Written(const Writer& writer) const {
    std::vector<std::uint8_t> bytes = made;
    const int value = InternalNumberOf(writer.species);
    test::PutTitleScreenCode(bytes, 0x791EE, value, FormFor(value));
    return bytes;
  }
  // What `writer` says on stderr when it succeeds: past 251, the command
  // line's note on the window.
  std::string SuccessErr(const Writer& writer) const {
    if (writer.window || writer.species <= 251) return "";
    return "vantrel-cli: note: " + Utf8FromPath(image) +
           ": the title screen's code at 0x791E4-0x791F1 now loads the species (a species above "
           "251 needs it)\n";
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
    const std::vector<std::uint8_t> written = Written(writer);
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
          EXPECT_EQ(result.err, SuccessErr(writer));
          EXPECT_TRUE(after == written);
        } else {
          // The command line prints the failure on stderr and exits 1; the
          // window shows it in the failure box, after the box of a
          // successful Open when the write failed.
          const std::string line = FailureText(Reported(error), writer.window) + "\n";
          if (writer.window) {
            EXPECT_TRUE(result.out == line || result.out == kOpenedBox + line) << result.out;
            EXPECT_EQ(result.exit_code, 0);
          } else {
            EXPECT_EQ(result.exit_code, 1);
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(result.err, line);
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
    ProgramResult result;
    ASSERT_TRUE(Run(writer, Fault{"open", ENOENT, 2}, result));
    EXPECT_EQ(result.out, writer.success_out) << result.err;
    EXPECT_TRUE(ReadBytes(image) == Written(writer));
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
  std::string command;  // run there by sh, with the files in $IMAGE and $OTHER
  std::uintmax_t cut_to = 0;
};

// The window opens the image anew for each command, by design, so only the
// command line has a check and a write to keep together.
const Race kRenamedAfterTheCheck{"another image renamed into place", "after-check",
                                 R"(mv "$OTHER" "$IMAGE")"};
const Race kRaces[] = {
    kRenamedAfterTheCheck,
    {"a FIFO put in its place", "write-open", R"(rm "$IMAGE" && mkfifo "$IMAGE")"},
    {"a device linked in its place", "write-open", R"(ln -sf /dev/null "$IMAGE")"},
    {"cut short past the byte's page", "write", R"(truncate -s 4096 "$IMAGE")", 4096},
    {"cut short inside the byte's page", "write", R"(truncate -s 495872 "$IMAGE")", 495872},
    {"cut short before the flush", "flush", R"(truncate -s 495872 "$IMAGE")", 495872},
};

TEST_F(FaultRun, AnotherProgramActingDuringTheWriteChangesNothingElse) {
  const fs::path kept = dir / "kept.gba";
  const fs::path other = dir / "other.gba";
  std::vector<std::uint8_t> foreign = test::ImageBytes(test::kImageSize, 77);
  std::copy_n("AXVE", 4, foreign.begin() + 0xAC);
  for (const Writer& writer : Writers()) {
    const std::vector<std::uint8_t> written = Written(writer);
    for (const Race& race : kRaces) {
      if (writer.window && race.pause == kRenamedAfterTheCheck.pause) continue;
      SCOPED_TRACE(writer.name + ": " + race.what + " at " + race.pause);
      fs::remove(image);
      fs::remove(kept);
      test::MakeImage(image, test::kImageSize, kMadeCry);
      fs::create_hard_link(image, kept);
      test::WriteBytes(other, foreign);
      ProgramResult result;
      const std::string report = Run(writer,
                                     {{"VANTREL_PAUSE_AT", race.pause},
                                      {"VANTREL_PAUSE_RUN", race.command},
                                      {"IMAGE", Utf8FromPath(image)},
                                      {"OTHER", Utf8FromPath(other)}},
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

// A real disk that cannot take the byte, made with real mounts (as root):
// the kernel's own write-back, which no preloaded library can stand in for.
struct FailingDisk {
  std::string what;
  // Run by sh with DISK (an empty folder to mount on), BACK (another), LOOP
  // (a file to note a loop device in), MADE (a made image) and IMAGE (where
  // it goes, in DISK).
  std::string make;
  std::string remount;  // then reads what the disk holds
  std::vector<std::int32_t> errors;
  // The byte's page is a hole, so the title screen's code is not there:
  // only the command line's --force writes, and the window cannot.
  bool forced = false;
};

const FailingDisk kFailingDisks[] = {
    {"a sparse image on a full tmpfs, the byte in a hole",
     R"sh(mount -t tmpfs -o size=1m tmpfs "$DISK" && head -c 192 "$MADE" > "$IMAGE" &&
        truncate -s 524288 "$IMAGE" && { dd if=/dev/zero of="$DISK/fill" bs=4k 2>/dev/null; true; })sh",
     "",
     {kDiskFull},
     true},
    // The kernel reports the backing file's full disk (61), or, where the
    // loop device takes a short write for a whole one, reports nothing and
    // only the read-back finds the byte missing (57).
    {"ext2 on a loop device, the byte's block gone from its backing file on a full tmpfs",
     R"sh(mount -t tmpfs -o size=8m tmpfs "$BACK" && truncate -s 32M "$BACK/fs" &&
        mkfs.ext2 -q -F -b 4096 "$BACK/fs" && losetup -f --show "$BACK/fs" > "$LOOP" &&
        mount "$(cat "$LOOP")" "$DISK" && cp "$MADE" "$IMAGE" && sync &&
        block=$(debugfs -R "bmap /image.gba 121" "$BACK/fs" 2>/dev/null) &&
        fallocate --punch-hole -o $((block * 4096)) -l 4096 "$BACK/fs" &&
        { dd if=/dev/zero of="$BACK/fill" bs=4k 2>/dev/null; true; })sh",
     R"sh(umount "$DISK" && mount "$(cat "$LOOP")" "$DISK")sh",
     {kDeviceIoError, kDiskFull}},
};

class FailingDiskTest : public FaultRun, public ::testing::WithParamInterface<FailingDisk> {
 protected:
  FailingDiskTest() { image = disk / "image.gba"; }
  test::ProgramResult Shell(const std::string& script) {
    test::RunOptions options;
    options.environment = {{"DISK", Utf8FromPath(disk)},
                           {"BACK", Utf8FromPath(back)},
                           {"LOOP", Utf8FromPath(loop)},
                           {"MADE", Utf8FromPath(made_image)},
                           {"IMAGE", Utf8FromPath(image)}};
    return test::RunProgram({"/bin/sh", "-c", script}, options);
  }
  void TearDown() override {
    Shell(R"sh(umount "$DISK"; [ -s "$LOOP" ] && losetup -d "$(cat "$LOOP")"; umount "$BACK"
               rm -f "$LOOP")sh");
  }

  fs::path disk = dir / "disk";
  fs::path back = dir / "back";
  fs::path loop = dir / "loop";
  fs::path made_image = test::MakeImage(dir / "made.gba", test::kImageSize, kMadeCry);
};

void PrintTo(const FailingDisk& disk, std::ostream* out) {
  *out << disk.what;
}

// Success is reported only when the disk holds the byte; a failure with the
// number of what went wrong. A byte the failing disk happens to hold
// already (0 in a lost block) may be reported as written.
TEST_P(FailingDiskTest, FailureIsReportedWithItsNumberAndNeverAsSuccess) {
  const FailingDisk& failing = GetParam();
  const std::uint64_t size = test::kImageSize;
  for (Writer writer : Writers()) {
    // Forced, only the cry byte is written: neither the window nor a
    // species past 251.
    if (failing.forced && (writer.window || writer.species > 251)) continue;
    if (failing.forced) writer.arguments.insert(writer.arguments.begin() + 1, "--force");
    SCOPED_TRACE(writer.name + " on " + failing.what);
    fs::create_directories(disk);
    fs::create_directories(back);
    const ProgramResult made = Shell(failing.make);
    if (made.exit_code != 0) GTEST_SKIP() << "cannot make " << failing.what << ": " << made.err;
    ProgramResult result;
    Run(writer, std::vector<std::pair<std::string, std::string>>{}, result);
    const std::string& said = writer.window ? result.out : result.err;
    const bool succeeded = writer.window ? result.out == writer.success_out : result.exit_code == 0;
    ASSERT_EQ(Shell(failing.remount).exit_code, 0);
    EXPECT_EQ(fs::file_size(image), size);
    if (succeeded) {
      EXPECT_EQ(ReadBytes(image)[0x791EE],
                static_cast<std::uint8_t>(InternalNumberOf(writer.species)));
    } else {
      EXPECT_TRUE(std::any_of(failing.errors.begin(), failing.errors.end(), [&](auto number) {
        return said.find(FailureText(RuntimeError(number), writer.window)) != std::string::npos;
      })) << said;
    }
    EXPECT_TRUE(writer.species == 0 || !succeeded) << said;
    TearDown();
  }
}

INSTANTIATE_TEST_SUITE_P(EachDisk, FailingDiskTest, ::testing::ValuesIn(kFailingDisks));

// Two programs writing the same image at once: each succeeds, and the image
// holds one of the two values with every other byte as it was, also where
// one of them rewrites the title screen's window and the other finds it.
TEST(ConcurrentWriters, LeaveOneOfTheTwoValuesAndNothingElse) {
  test::TempDir dir;
  const fs::path image = test::MakeImage(dir / "image.gba", test::kImageSize, kMadeCry);
  const std::vector<std::uint8_t> made = ReadBytes(image);
  const auto with = [&](int value, TitleScreenForm form) {
    std::vector<std::uint8_t> bytes = made;
    test::PutTitleScreenCode(bytes, 0x791EE, value, form);
    return bytes;
  };
  const std::string name = Utf8FromPath(image);
  for (int round = 0; round < 100; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const bool wide = round % 2 == 1;
    ProgramResult first;
    std::thread other([&] { first = test::RunProgram({VANTREL_CLI_PATH, "set", name, "1"}); });
    const ProgramResult second =
        test::RunProgram({VANTREL_CLI_PATH, "set", name, wide ? "Rayquaza" : "Celebi"});
    other.join();
    EXPECT_EQ(first.exit_code, 0) << first.err;
    EXPECT_EQ(second.exit_code, 0) << second.err;
    const std::vector<std::uint8_t> after = ReadBytes(image);
    ASSERT_TRUE(
        after == with(1, TitleScreenForm::kStock) ||
        after == (wide ? with(406, TitleScreenForm::kWide) : with(251, TitleScreenForm::kStock)));
  }
}

INSTANTIATE_TEST_SUITE_P(EachCall, FaultTest,
                         ::testing::Values("open", "pread", "mmap", "fsync", "close"));

}  // namespace
}  // namespace vantrel
