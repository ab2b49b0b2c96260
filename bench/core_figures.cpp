// Times, inside one process, what a command-line run hides under the
// program's own start: the search in an image without the codes it looks
// for (the title screen's alone, as a write looks; both, as a read looks),
// the search for both in a copy of it that holds both, and a cry decoded and
// made a WAV file. Prints the median of 21 runs of each, in milliseconds.
// Usage: vantrel_core_figures SEARCHED_IMAGE CRY_IMAGE
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <vector>

#include "api/vantrel.h"

namespace {

double MedianMilliseconds(const std::function<void()>& work) {
  std::vector<double> times;
  for (int run = 0; run < 21; ++run) {
    const auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::nth_element(times.begin(), times.begin() + 10, times.end());
  return times[10];
}

// A copy of `image` beside it, named `name`, with each code's fixed parts
// put around its place.
std::filesystem::path CopyWith(
    const std::filesystem::path& image, const char* name,
    std::initializer_list<std::pair<const vantrel::Code&, std::size_t>> codes) {
  std::ifstream in(image, std::ios::binary);
  std::vector<char> bytes(std::istreambuf_iterator<char>(in), {});
  for (const auto& [code, place] : codes) {
    for (const vantrel::CodePart& part : code.parts) {
      std::ranges::copy(part.bytes,
                        bytes.begin() + static_cast<std::ptrdiff_t>(place - code.found + part.at));
    }
  }
  const std::filesystem::path copy = std::filesystem::path(image).replace_filename(name);
  std::ofstream(copy, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return copy;
}

double SearchMilliseconds(const std::filesystem::path& image,
                          vantrel::CryByteLocation (*locate)(vantrel::ByteSource&)) {
  return MedianMilliseconds([&] {
    vantrel::BinaryFile file = vantrel::BinaryFile::Open(image, vantrel::BinaryFile::Access::kRead);
    locate(file);
  });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: vantrel_core_figures SEARCHED_IMAGE CRY_IMAGE\n", stderr);
    return 2;
  }
  const double search = SearchMilliseconds(argv[1], vantrel::LocateCryByte);
  const double neither = SearchMilliseconds(argv[1], vantrel::LocateCryByteAndTable);
  // Both codes in the second half: the search still reads all 32 MiB, to
  // know each stands there once.
  const std::filesystem::path both =
      CopyWith(argv[1], "both.gba",
               {{vantrel::CodeOf(vantrel::TitleScreenForm::kStock), 0x1800000},
                {vantrel::kCryCallCode, 0x1C00000}});
  const double searched_both = SearchMilliseconds(both, vantrel::LocateCryByteAndTable);
  const double cry = MedianMilliseconds(
      [&] { vantrel::WavBytes(vantrel::ReadImageCrySound(argv[2], std::nullopt).sound); });
  std::printf("search %.3f\nsearch-neither %.3f\nsearch-both %.3f\ncry %.3f\n", search, neither,
              searched_both, cry);
  return 0;
}
