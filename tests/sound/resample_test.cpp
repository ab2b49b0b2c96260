#include <gtest/gtest.h>

#include "sound/resample.h"

namespace vantrel {
namespace {

// Twice the rate: every other sample halfway between two, the last held.
TEST(Resampled, DrawsEachSampleOnTheLineBetweenItsNeighbours) {
  const CrySound doubled = Resampled({1000, {0, 10, -20}}, 2000);
  EXPECT_EQ(doubled.rate, 2000u);
  EXPECT_EQ(doubled.samples, (std::vector<std::int8_t>{0, 5, 10, -5, -20, -20}));
}

}  // namespace
}  // namespace vantrel
