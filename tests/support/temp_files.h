#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "image_format/cry_sound.h"
#include "image_format/releases.h"
#include "image_format/title_screen_code.h"

namespace vantrel::test {

namespace fs = std::filesystem;

// Large enough to hold the cry byte, small enough to write many times.
inline constexpr std::size_t kImageSize = 0x80000;

// A fresh folder, removed with everything in it at the end of the test. It
// is open to other users so that unprivileged checks can reach its files.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const fs::path& Path() const { return path_; }
  // A path in the folder from a UTF-8 name.
  fs::path operator/(std::string_view name) const;

 private:
  fs::path path_;
};

// Image content: a pattern that differs from byte to byte, so that a write to
// any wrong offset shows, with `cry` at the cry byte when the size holds it,
// the title screen's code around it when the size holds that, and a FireRed
// 1.0 header (game code BPRE, software version 0, title "VANTREL TEST",
// complement right) when the size holds that.
std::vector<std::uint8_t> ImageBytes(std::size_t size = kImageSize, std::uint8_t cry = 6);

// A pattern image of `release`, its header naming it, its title-screen code
// where it keeps it, with `cry` at the cry byte.
std::vector<std::uint8_t> ReleaseImageBytes(const Release& release, std::uint8_t cry);

// A cry of the tests' own.
inline const CrySound kTestCry{10512, {0, 40, 80, 40, 0, -40, -80, -40, '\n', '\r', 26}};

// The cry call's code with its first word at `first_word`, and a cry table
// its words point at, with `species`'s entry naming a plain wave of `sound`
// at its own rate.
void PutCry(std::vector<std::uint8_t>& bytes, std::int64_t first_word, int species,
            const CrySound& sound = kTestCry);

// `value` as a little-endian word at `at`.
void PutWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value);

// The title screen's code around `cry_byte` in `form`, naming `value` (an
// internal species number), its window spelled out as the game's code has
// it rather than taken from the code under test.
void PutTitleScreenCode(std::vector<std::uint8_t>& bytes, std::size_t cry_byte, int value,
                        TitleScreenForm form = TitleScreenForm::kStock);

// A second header of `language` whose word at 0x144 points at `at`, and a
// names table there: `names` by internal number, in UTF-8, written in the
// game's character set (as far as the tests spell names: letters, digits,
// blank, ".", "-", "?", ’, ♀, ♂ and È to é).
void PutNames(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t language,
              const std::vector<std::string>& names);

// The names table of an English image, made of the built-in list: its names
// in capitals, as the game writes them (’, ♀ and ♂ for ', -F and -M), ? for
// the placeholders.
std::vector<std::string> EnglishNames();

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const fs::path& path);

// Writes ImageBytes(size, cry) to `path` and returns the path.
fs::path MakeImage(const fs::path& path, std::size_t size = kImageSize, std::uint8_t cry = 6);

// Takes away write permission, or all permissions, for everyone.
void MakeReadOnly(const fs::path& path);
void MakeInaccessible(const fs::path& path);

}  // namespace vantrel::test
