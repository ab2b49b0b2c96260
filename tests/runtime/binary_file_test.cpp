#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include "runtime/binary_file.h"
#include "runtime/error.h"
#include "support/handles.h"
#include "support/temp_files.h"
#include "support/unprivileged.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace vantrel {
namespace {

// One byte to write.
std::vector<std::uint8_t> Byte(std::uint8_t value) {
  return {value};
}

namespace fs = std::filesystem;
using test::ImageBytes;
using test::ReadBytes;

int ErrorNumberOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const RuntimeError& error) {
    return error.Number();
  }
  return 0;
}

int OpenError(const fs::path& path, BinaryFile::Access access) {
  return ErrorNumberOf([&] { BinaryFile::Open(path, access); });
}

class BinaryFileTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  fs::path image = test::MakeImage(dir / "image.gba", 16, 0);
};

TEST_F(BinaryFileTest, ReadsAndWritesSingleBytesInPlace) {
  BinaryFile file = BinaryFile::Open(image, BinaryFile::Access::kReadWrite);
  EXPECT_EQ(file.Size(), 16);
  EXPECT_EQ(file.ReadByte(0), ImageBytes(16)[0]);
  file.Write(15, Byte(0xAB));
  EXPECT_EQ(file.ReadByte(15), 0xAB);
  file.Close();
  std::vector<std::uint8_t> expected = ImageBytes(16);
  expected[15] = 0xAB;
  EXPECT_EQ(ReadBytes(image), expected);
}

// A run across a page's end goes in one store for each page, and both are
// on disk when the file is closed.
TEST_F(BinaryFileTest, WritesARunAcrossTwoPages) {
  const fs::path large = test::MakeImage(dir / "large.gba", 0x3000);
  const std::vector<std::uint8_t> run{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
  BinaryFile file = BinaryFile::Open(large, BinaryFile::Access::kReadWrite);
  file.Write(0x2000 - 7, run);
  file.Close();
  std::vector<std::uint8_t> expected = ImageBytes(0x3000);
  std::copy(run.begin(), run.end(), expected.begin() + 0x2000 - 7);
  EXPECT_EQ(ReadBytes(large), expected);
}

TEST_F(BinaryFileTest, NeverCreatesAFile) {
  for (auto access : {BinaryFile::Access::kRead, BinaryFile::Access::kReadWrite}) {
    EXPECT_EQ(OpenError(dir / "missing.gba", access), kFileNotFound);
    EXPECT_EQ(OpenError(dir / "no folder" / "x.gba", access), kPathNotFound);
    EXPECT_EQ(OpenError(image / "below a file", access), kPathNotFound);
    EXPECT_EQ(OpenError("", access), kBadFileNameOrNumber);
  }
  EXPECT_FALSE(fs::exists(dir / "missing.gba"));
  EXPECT_FALSE(fs::exists(dir / "no folder"));
}

TEST_F(BinaryFileTest, NeverGrowsAFile) {
  BinaryFile file = BinaryFile::Open(image, BinaryFile::Access::kReadWrite);
  EXPECT_EQ(ErrorNumberOf([&] { file.ReadByte(16); }), kInputPastEndOfFile);
  EXPECT_EQ(ErrorNumberOf([&] { file.Write(16, Byte(1)); }), kWritePastEndOfFile);
  EXPECT_EQ(ErrorNumberOf([&] { file.Write(1 << 30, Byte(1)); }), kWritePastEndOfFile);
  EXPECT_EQ(ErrorNumberOf([&] { file.ReadByte(-1); }), kBadRecordNumber);
  file.Close();
  EXPECT_EQ(ReadBytes(image), ImageBytes(16));
}

// An open file and the same bytes held in memory read alike.
TEST_F(BinaryFileTest, ReadFillsWhatTheFileHoldsAndStopsAtItsEnd) {
  const std::vector<std::uint8_t> made = ImageBytes(16);
  BinaryFile file = BinaryFile::Open(image, BinaryFile::Access::kRead);
  MemoryBytes held(made);
  for (ByteSource* source : std::initializer_list<ByteSource*>{&file, &held}) {
    std::vector<std::uint8_t> buffer(20, 0xEE);
    EXPECT_EQ(source->Read(4, std::span(buffer).first(8)), 8u);
    EXPECT_TRUE(std::equal(made.begin() + 4, made.begin() + 12, buffer.begin()));
    std::fill(buffer.begin(), buffer.end(), 0xEE);
    EXPECT_EQ(source->Read(10, buffer), 6u);
    EXPECT_EQ(buffer[5], made[15]);
    EXPECT_EQ(buffer[6], 0xEE);
    EXPECT_EQ(source->Read(16, buffer), 0u);
    EXPECT_EQ(source->Read(1 << 30, buffer), 0u);
    EXPECT_EQ(ErrorNumberOf([&] { source->Read(-1, buffer); }), kBadRecordNumber);
    EXPECT_EQ(ErrorNumberOf([&] { source->ReadByte(16); }), kInputPastEndOfFile);
  }
}

TEST_F(BinaryFileTest, RefusesWhatIsNotARegularFile) {
  EXPECT_EQ(OpenError(dir.Path(), BinaryFile::Access::kRead), kPathFileAccessError);
  EXPECT_EQ(OpenError(dir.Path(), BinaryFile::Access::kReadWrite), kPathFileAccessError);
#ifndef _WIN32
  EXPECT_EQ(OpenError("/dev/null", BinaryFile::Access::kReadWrite), kPathFileAccessError);
  const fs::path fifo = dir / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // A FIFO with no writer must fail at once, not wait for one.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(OpenError(fifo, BinaryFile::Access::kRead), kPathFileAccessError);
  EXPECT_EQ(OpenError(fifo, BinaryFile::Access::kReadWrite), kPathFileAccessError);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
#else
  EXPECT_EQ(OpenError("NUL", BinaryFile::Access::kReadWrite), kPathFileAccessError);
#endif
}

TEST_F(BinaryFileTest, FollowsLinksToImages) {
#ifdef _WIN32
  GTEST_SKIP() << "making a symbolic link needs a privilege on Windows, and MinGW's "
                  "library does not make them";
#endif
  const fs::path link = dir / "link.gba";
  fs::create_symlink(image, link);
  EXPECT_EQ(BinaryFile::Open(link, BinaryFile::Access::kRead).ReadByte(3), ImageBytes(16)[3]);
  fs::create_symlink(dir / "gone.gba", dir / "dangling.gba");
  EXPECT_EQ(OpenError(dir / "dangling.gba", BinaryFile::Access::kRead), kFileNotFound);
}

TEST_F(BinaryFileTest, ReadOnlyImageCanBeReadButNotWritten) {
  test::MakeReadOnly(image);
  const int outcome = test::RunUnprivileged([&] {
    if (BinaryFile::Open(image, BinaryFile::Access::kRead).ReadByte(2) != ImageBytes(16)[2]) {
      return 1;
    }
    return OpenError(image, BinaryFile::Access::kReadWrite);
  });
  EXPECT_EQ(outcome, kPermissionDenied);
  EXPECT_EQ(ReadBytes(image), ImageBytes(16));
}

#ifndef _WIN32
TEST_F(BinaryFileTest, InaccessibleImageIsPermissionDenied) {
  test::MakeInaccessible(image);
  EXPECT_EQ(test::RunUnprivileged([&] { return OpenError(image, BinaryFile::Access::kRead); }),
            kPermissionDenied);
}
#endif

TEST_F(BinaryFileTest, UnicodeNamesWork) {
  const fs::path named =
      test::MakeImage(dir / "Pok\xC3\xA9mon \xE7\x81\xAB \xF0\x9F\x94\xA5.gba", 4);
  BinaryFile file = BinaryFile::Open(named, BinaryFile::Access::kReadWrite);
  file.Write(1, Byte(0x42));
  file.Close();
  EXPECT_EQ(ReadBytes(named)[1], 0x42);
}

TEST_F(BinaryFileTest, PathsLongerThanTheOldLimitWork) {
  fs::path folder = dir.Path();
  while (folder.native().size() < 300) folder /= std::string(40, 'd');
  fs::create_directories(folder);
  const fs::path deep = test::MakeImage(folder / "image.gba", 4);
  ASSERT_GT(deep.native().size(), 300u);
  BinaryFile file = BinaryFile::Open(deep, BinaryFile::Access::kReadWrite);
  file.Write(3, Byte(0x5A));
  file.Close();
  EXPECT_EQ(ReadBytes(deep)[3], 0x5A);
}

#ifdef _WIN32
// While a file is open for writing no other handle may write it, so nothing
// can cut it short under the write; readers still can.
TEST_F(BinaryFileTest, AWriterShutsOutOtherWriters) {
  BinaryFile writer = BinaryFile::Open(image, BinaryFile::Access::kReadWrite);
  try {
    BinaryFile::Open(image, BinaryFile::Access::kReadWrite);
    ADD_FAILURE() << "a second writer was let in";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), kPermissionDenied);
    EXPECT_EQ(error.Description(), FileInUseError().Description());
  }
  BinaryFile reader = BinaryFile::Open(image, BinaryFile::Access::kRead);
  EXPECT_EQ(reader.ReadByte(3), ImageBytes(16)[3]);
  writer.Write(3, Byte(0x77));
  writer.Close();
}
#endif

TEST_F(BinaryFileTest, HandlesAreReleasedOnEveryPath) {
  const int before = test::OpenHandleCount();
  {
    BinaryFile file = BinaryFile::Open(image, BinaryFile::Access::kReadWrite);
    EXPECT_EQ(ErrorNumberOf([&] { file.Write(99, Byte(0)); }), kWritePastEndOfFile);
  }
  {
    BinaryFile file = BinaryFile::Open(image, BinaryFile::Access::kRead);
    BinaryFile moved = std::move(file);
    moved.Close();
    moved.Close();
  }
  EXPECT_EQ(OpenError(dir.Path(), BinaryFile::Access::kRead), kPathFileAccessError);
  EXPECT_EQ(test::OpenHandleCount(), before);
}

}  // namespace
}  // namespace vantrel
