// The command line with any arguments, split at NUL bytes as a shell passes
// them, run in a folder of its own that holds an image "rom", an image too
// short to hold the cry byte "short" and a folder "dir". A '/' in an
// argument becomes '_', so that no name reaches outside that folder.
//
// Whatever the arguments: the exit status is 0, 1 or 2; a failure says why
// and a usage error prints nothing on the output; no file is created but
// the WAV file of a successful cry, and none is resized or changed anywhere
// but in the title screen's window of "rom", which stays whole.
//
// The target works in its folder: give it absolute corpus and artifact paths.
#include <unistd.h>

#include <set>
#include <string>
#include <vector>

#include "api/vantrel.h"
#include "cli/cli.h"
#include "fuzz_support.h"

namespace {

namespace fs = std::filesystem;
using vantrel::fuzz::Check;

constexpr std::size_t kCry = vantrel::CryOffset;
constexpr std::size_t kCodeEnd = kCry + vantrel::kTitleCodeSize - vantrel::kTitleCryByteAt;
// The title screen's window, which a write past 251 rewrites whole.
constexpr std::size_t kWindow = kCry - vantrel::kTitleWindowBeforeCryByte;
constexpr std::size_t kWindowSize = vantrel::kTitleWindowSize;

// A byte pattern with a FireRed 1.0 header, and the title screen's code
// around the cry byte when the size holds it.
std::string ImageBytes(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 131 + 7);
  bytes.replace(0xA0, 12, "VANTRELFUZZ ");
  bytes.replace(0xAC, 4, "BPRE");
  bytes.replace(0xB0, 2, "01");
  bytes[0xB2] = static_cast<char>(0x96);
  bytes[0xBC] = 0;
  int sum = 0x19;
  for (std::size_t i = 0xA0; i <= 0xBC; ++i) sum += static_cast<unsigned char>(bytes[i]);
  bytes[0xBD] = static_cast<char>(-sum & 0xFF);
  if (size >= kCodeEnd) {
    const vantrel::Code& code = vantrel::CodeOf(vantrel::TitleScreenForm::kStock);
    for (const vantrel::CodePart& part : code.parts) {
      for (std::size_t i = 0; i < part.bytes.size(); ++i) {
        bytes[kCry - code.found + part.at + i] = static_cast<char>(part.bytes[i]);
      }
    }
    bytes[kCry] = static_cast<char>(vantrel::RestoreCry);
  }
  return bytes;
}

const std::string& Rom() {
  static const std::string bytes = ImageBytes(kCodeEnd);
  return bytes;
}

const std::string& Short() {
  static const std::string bytes = ImageBytes(kCry);
  return bytes;
}

std::set<std::string> Names() {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(".")) names.insert(entry.path().filename());
  return names;
}

std::vector<std::string> Arguments(std::string_view text) {
  std::vector<std::string> arguments;
  std::string argument;
  for (const char c : text) {
    if (c == '\0') {
      arguments.push_back(std::move(argument));
      argument.clear();
    } else {
      argument.push_back(c == '/' ? '_' : c);
    }
  }
  if (!text.empty()) arguments.push_back(std::move(argument));
  return arguments;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const fs::path& folder = vantrel::fuzz::Sandbox();
  vantrel::fuzz::WriteFile(folder / "rom", Rom());
  vantrel::fuzz::WriteFile(folder / "short", Short());
  fs::create_directory(folder / "dir");
  Check(::chdir(folder.c_str()) == 0, "the target can enter its folder");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::set<std::string> kNames = Names();
  vantrel::cli::TextOutput out;
  vantrel::cli::TextOutput err;
  const int status = vantrel::cli::Run(Arguments(vantrel::fuzz::Text(data, size)), out, err);

  Check(status >= 0 && status <= 2, "the exit status is 0, 1 or 2");
  Check(status == 0 ? !out.text.empty() : !err.text.empty(),
        "a success prints its result, a failure says why");
  Check(status != 2 || out.text.empty(), "a usage error prints nothing on the output");

  // Kept from run to run: allocating an image's size each time is slow.
  static std::string rom;
  static std::string short_image;
  vantrel::fuzz::ReadFile("rom", rom);
  Check(rom.size() == Rom().size(), "the image keeps its size");
  const bool cry_changed = rom.compare(kWindow, kWindowSize, Rom(), kWindow, kWindowSize) != 0;
  Check(!cry_changed || status == 0, "only a successful command changes the title screen's code");
  vantrel::MemoryBytes held({reinterpret_cast<const std::uint8_t*>(rom.data()), rom.size()});
  Check(vantrel::ReadImageCry(held, false).value.has_value(),
        "the title screen's code stands whole in one form");
  rom.replace(kWindow, kWindowSize, Rom(), kWindow, kWindowSize);
  Check(rom == Rom(), "nothing but the title screen's window changes");
  Check(vantrel::fuzz::ReadFile("short", short_image) == Short(),
        "an image too short is left alone");
  for (const std::string& name : Names()) {
    if (kNames.contains(name)) continue;
    Check(status == 0, "only a successful command makes a file");
    fs::remove(name);
  }
  Check(Names() == kNames, "no file is removed");
  if (cry_changed) vantrel::fuzz::WriteFile("rom", Rom());
  return 0;
}
