// Times, inside one process, what a command-line run hides under the
// program's own start: the search for the title screen's code in an image
// without it, and a cry decoded and made a WAV file. Prints the median of
// 21 runs of each, in milliseconds.
// Usage: vantrel_core_figures SEARCHED_IMAGE CRY_IMAGE
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "cry/cry_locator.h"
#include "cry/image_cry.h"
#include "cry/wav.h"

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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: vantrel_core_figures SEARCHED_IMAGE CRY_IMAGE\n", stderr);
    return 2;
  }
  const double search = MedianMilliseconds([&] {
    vantrel::BinaryFile file =
        vantrel::BinaryFile::Open(argv[1], vantrel::BinaryFile::Access::kRead);
    if (vantrel::LocateCryByte(file).offset) std::fputs("the code was found\n", stderr);
  });
  const double cry = MedianMilliseconds(
      [&] { vantrel::WavBytes(vantrel::ReadImageCrySound(argv[2], std::nullopt).sound); });
  std::printf("search %.3f\ncry %.3f\n", search, cry);
  return 0;
}
