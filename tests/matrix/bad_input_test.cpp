#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <optional>

#include "runtime/error.h"
#include "runtime/path_text.h"
#include "support/process.h"
#include "support/temp_files.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using test::ProgramResult;

constexpr std::uint8_t kMadeCry = 25;
constexpr std::size_t kCry = 0x791EE;

// What one file in the test folder is, as far as a run could change it.
struct Entry {
  fs::file_type type;
  std::uintmax_t size = 0;
  std::int64_t blocks = 0;
  std::vector<std::uint8_t> head = {};  // the first MiB of a regular file
  fs::path target = {};                 // of a link
};

std::map<fs::path, Entry> Snapshot(const fs::path& root) {
  std::map<fs::path, Entry> entries;
  for (const fs::directory_entry& item : fs::recursive_directory_iterator(root)) {
    Entry entry{item.symlink_status().type()};
    struct stat info {};
    lstat(item.path().c_str(), &info);
    if (entry.type == fs::file_type::regular) {
      entry.size = static_cast<std::uintmax_t>(info.st_size);
      entry.blocks = info.st_blocks;
      std::ifstream file(item.path(), std::ios::binary);
      entry.head.resize(std::min<std::uintmax_t>(entry.size, 1 << 20));
      file.read(reinterpret_cast<char*>(entry.head.data()),
                static_cast<std::streamsize>(entry.head.size()));
    } else if (entry.type == fs::file_type::symlink) {
      entry.target = fs::read_symlink(item.path());
    }
    entries[item.path()] = entry;
  }
  return entries;
}

// Says which file differs, and where, rather than printing both maps.
void ExpectFiles(const std::map<fs::path, Entry>& actual,
                 const std::map<fs::path, Entry>& expected) {
  for (const auto& [path, entry] : expected) {
    SCOPED_TRACE(path.string());
    const auto found = actual.find(path);
    ASSERT_NE(found, actual.end()) << "the file is gone";
    const Entry& now = found->second;
    EXPECT_EQ(now.type, entry.type);
    EXPECT_EQ(now.size, entry.size);
    EXPECT_EQ(now.blocks, entry.blocks) << "blocks allocated";
    EXPECT_EQ(now.target, entry.target);
    const auto differ =
        std::mismatch(now.head.begin(), now.head.end(), entry.head.begin(), entry.head.end());
    EXPECT_TRUE(differ.first == now.head.end() && differ.second == entry.head.end())
        << "bytes differ from offset " << (differ.first - now.head.begin());
  }
  for (const auto& [path, entry] : actual) {
    EXPECT_TRUE(expected.contains(path)) << path << " was made";
  }
}

struct Outcome {
  int exit_code;
  std::string out;
  std::string err;
};

// A failure as the command line reports it, and as the window's box shows it.
Outcome Failed(std::int32_t number) {
  return {1, "", "Error: " + std::to_string(number) + ": " + DescriptionOf(number) + "\n"};
}
std::string Box(std::int32_t number) {
  return "Error: " + std::to_string(number) + "|" + DescriptionOf(number) + "\n";
}

const Outcome kShown{0, "25 Pikachu\n", ""};
const Outcome kSaved{0, "ROM saved successfully!\n", ""};
const std::string kOpenedAndSaved =
    "Vantrel|ROM opened successfully!\nVantrel|ROM saved successfully!\n";

std::string Image(const test::TempDir& dir, std::string_view name, std::size_t size) {
  return Utf8FromPath(test::MakeImage(dir / name, size, kMadeCry));
}

const Outcome kNoCryByte{
    1, "", "vantrel-cli: IMAGE: no cry byte (the title screen's code is not in the image)\n"};
const Outcome kRefused{1, "",
                       "vantrel-cli: IMAGE: no cry byte (the title screen's code is not in the "
                       "image); nothing written (--force writes at 0x791EE)\n"};

using Maker = std::function<std::string(const test::TempDir&)>;

struct Case {
  std::string name;
  // Makes what the case needs in the folder; returns the name to pass.
  Maker make;
  Outcome show;
  Outcome set;
  std::optional<Outcome> forced_set;  // when it differs from set
  std::string window;                 // the boxes of Open, then Save
  // The file that ends up holding the new cry, relative to the folder.
  std::optional<std::string> written = std::nullopt;
  bool unprivileged = false;
};

// Input that no command can open: each reports `number`.
Case Unopenable(std::string name, Maker make, std::int32_t number) {
  return {std::move(name), std::move(make), Failed(number), Failed(number), {}, Box(number)};
}

// An image that every command reads and writes as usual; `written` is the
// file that gets the new cry when it is not the name passed.
Case Usable(std::string name, Maker make, std::optional<std::string> written = std::nullopt) {
  return {std::move(name), std::move(make), kShown, kSaved, {}, kOpenedAndSaved, written};
}

// Too short to hold the title screen's code: no cry byte to read, and
// writing is refused; forced, it writes 0x791EE when the file holds that.
Case TooShort(std::string name, std::size_t size) {
  const bool holds_the_byte = size > kCry;
  return {std::move(name),
          [size](const test::TempDir& dir) { return Image(dir, "short.gba", size); },
          kNoCryByte,
          kRefused,
          holds_the_byte ? kSaved : Failed(kWritePastEndOfFile),
          "Vantrel|Vantrel cannot find the title screen's cry byte in this image (the title "
          "screen's code is not in the image) and will not write to it.\n",
          holds_the_byte ? std::optional<std::string>("short.gba") : std::nullopt};
}

// Names the image by a path of exactly 300 characters.
std::string LongPath(const test::TempDir& dir) {
  const fs::path folder = dir.Path() / std::string(120, 'a') / std::string(120, 'b');
  fs::create_directories(folder);
  const std::size_t used = folder.native().size() + 1 + 4;
  const fs::path image = folder / (std::string(300 - used, 'c') + ".gba");
  test::MakeImage(image, test::kImageSize, kMadeCry);
  return image.native();
}

Maker Named(std::string file) {
  return [file](const test::TempDir& dir) { return Image(dir, file, test::kImageSize); };
}

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      Unopenable(
          "empty path", [](auto&) { return std::string(); }, kBadFileNameOrNumber),
      Unopenable(
          "missing file", [](auto& dir) { return Utf8FromPath(dir / "missing.gba"); },
          kFileNotFound),
      Unopenable(
          "missing folder", [](auto& dir) { return Utf8FromPath(dir / "no folder" / "x.gba"); },
          kPathNotFound),
      Unopenable(
          "directory",
          [](auto& dir) {
            fs::create_directory(dir / "folder.gba");
            return Utf8FromPath(dir / "folder.gba");
          },
          kPathFileAccessError),
      Unopenable(
          "FIFO",
          [](auto& dir) {
            mkfifo((dir / "fifo.gba").c_str(), 0644);
            return Utf8FromPath(dir / "fifo.gba");
          },
          kPathFileAccessError),
      Unopenable(
          "device /dev/null", [](auto&) { return std::string("/dev/null"); }, kPathFileAccessError),
      Unopenable(
          "device /dev/zero", [](auto&) { return std::string("/dev/zero"); }, kPathFileAccessError),
      Unopenable(
          "dangling link",
          [](auto& dir) {
            fs::create_symlink(dir / "gone.gba", dir / "dangling.gba");
            return Utf8FromPath(dir / "dangling.gba");
          },
          kFileNotFound),
      Usable(
          "link to an image",
          [](auto& dir) {
            Image(dir, "target.gba", test::kImageSize);
            fs::create_symlink("target.gba", dir / "link.gba");
            return Utf8FromPath(dir / "link.gba");
          },
          "target.gba"),
      {"read-only image",
       [](auto& dir) {
         const std::string image = Image(dir, "read only.gba", test::kImageSize);
         test::MakeReadOnly(dir / "read only.gba");
         return image;
       },
       kShown,
       Failed(kPermissionDenied),
       {},
       "Vantrel|ROM opened successfully!\n" + Box(kPermissionDenied),
       std::nullopt,
       true},
      // Written by someone who does not own it: the read-back past the cache
      // may not keep the access time, and still reads the disk.
      {"another user's image that anyone may write",
       [](auto& dir) {
         const std::string image = Image(dir, "shared.gba", test::kImageSize);
         using fs::perms;
         fs::permissions(dir / "shared.gba", perms::owner_read | perms::owner_write |
                                                 perms::group_read | perms::group_write |
                                                 perms::others_read | perms::others_write);
         return image;
       },
       kShown,
       kSaved,
       {},
       kOpenedAndSaved,
       std::nullopt,
       true},
      TooShort("one byte too short for the code", kCry + 11),
      Usable("exactly long enough", [](auto& dir) { return Image(dir, "exact.gba", kCry + 12); }),
      TooShort("0-byte file", 0),
      Usable("4 GiB sparse image",
             [](auto& dir) {
               const std::string image = Image(dir, "big.gba", test::kImageSize);
               fs::resize_file(dir / "big.gba", std::uintmax_t{4} << 30);
               return image;
             }),
      Usable("name with spaces", Named("fire red  v1 .gba")),
      Usable("name with quotes", Named("it's \"red\" `x`.gba")),
      Usable("non-ASCII name", Named("Feuerrot \xC3\xA4\xE7\x81\xAB.gba")),
      // Relative, from the folder, so that it reaches the program with its dash.
      Usable(
          "leading dash",
          [](auto& dir) {
            Image(dir, "-rom.gba", test::kImageSize);
            return std::string("-rom.gba");
          },
          "-rom.gba"),
      Usable("300-character path", LongPath),
  };
  return cases;
}

// The case's outcome with IMAGE standing for the name passed.
Outcome For(Outcome outcome, const std::string& name) {
  for (std::string* text : {&outcome.out, &outcome.err}) {
    if (const std::size_t at = text->find("IMAGE"); at != std::string::npos) {
      text->replace(at, 5, name);
    }
  }
  return outcome;
}

void ExpectOutcome(const ProgramResult& result, const Outcome& expected) {
  EXPECT_FALSE(result.timed_out) << "the program did not return";
  EXPECT_EQ(result.exit_code, expected.exit_code);
  EXPECT_EQ(result.out, expected.out);
  EXPECT_EQ(result.err, expected.err);
}

class BadInputTest : public ::testing::TestWithParam<std::size_t> {
 protected:
  void SetUp() override { fs::current_path(dir.Path()); }
  void TearDown() override { fs::current_path(start); }

  ProgramResult Run(const std::vector<std::string>& arguments, bool unprivileged) {
    test::RunOptions options;
    options.unprivileged = unprivileged;
    options.time_limit = std::chrono::seconds(30);
    return test::RunProgram(arguments, options);
  }

  fs::path start = fs::current_path();
  test::TempDir dir;
};

// Each input through show, info, set (plain and forced) and the window's
// Open and Save: the outcome stated for it, and every file in the folder as
// it was but for the one cry byte a successful write changes.
TEST_P(BadInputTest, GivesItsOutcomeAndLeavesEveryFileAsItWas) {
  const Case& c = Cases()[GetParam()];
  SCOPED_TRACE(c.name);
  const std::string name = c.make(dir);
  const std::map<fs::path, Entry> before = Snapshot(dir.Path());

  ExpectOutcome(Run({VANTREL_CLI_PATH, "show", "--", name}, c.unprivileged), For(c.show, name));
  const ProgramResult info = Run({VANTREL_CLI_PATH, "info", "--", name}, c.unprivileged);
  EXPECT_FALSE(info.timed_out);
  if (c.show.exit_code == 0 || c.show.err == kNoCryByte.err) {
    EXPECT_EQ(info.exit_code, 0);
    EXPECT_EQ(info.err, "");
  } else {
    ExpectOutcome(info, c.show);
  }
  {
    SCOPED_TRACE("after show and info");
    ExpectFiles(Snapshot(dir.Path()), before);
  }

  ExpectOutcome(Run({VANTREL_CLI_PATH, "set", "--", name, "Mew"}, c.unprivileged),
                For(c.set, name));
  ExpectOutcome(Run({VANTREL_CLI_PATH, "set", "--force", "--", name, "Mew"}, c.unprivileged),
                For(c.forced_set.value_or(c.set), name));
  ExpectOutcome(Run({VANTREL_WINDOW_PROBE_PATH, name, "150"}, c.unprivileged), {0, c.window, ""});

  std::map<fs::path, Entry> expected = before;
  const std::optional<fs::path> written =
      c.written ? std::optional(dir / *c.written)
                : (c.set.exit_code == 0 ? std::optional(fs::path(name)) : std::nullopt);
  if (written) expected.at(*written).head.at(kCry) = 151;
  ExpectFiles(Snapshot(dir.Path()), expected);
  if (name.starts_with("/dev/")) {
    EXPECT_TRUE(fs::is_character_file(name));
    EXPECT_FALSE(fs::is_regular_file(name));
  }
}

INSTANTIATE_TEST_SUITE_P(EachInput, BadInputTest, ::testing::Range<std::size_t>(0, Cases().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                           std::string name = Cases()[info.param].name;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace vantrel
