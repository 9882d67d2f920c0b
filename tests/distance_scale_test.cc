// The distance scale's roundings and the bin rule.
#include "engine/distance_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace corrsum {
namespace {

TEST(DistanceScale, RoundingsOfRMaximumAndRat) {
  struct Case {
    SeriesExtremes extremes;
    std::int32_t ndim, rangeFlag;
    float rMaximum, rat;
  } cases[] = {
      {{0.0f, 1.0f}, 2, 0, 2.0f, 500000.0f},
      // The float product of 2 and 1.1f, and the double quotient rounded once.
      {{0.0f, 1.0f}, 2, 1, 2.2000000477f, 454545.4375f},
      {{0.0f, 1.0f}, 2, 5, 2.0f, 500000.0f},
      {{0.0f, 1.0f}, 2, -1, 2.0f, 500000.0f},
      {{1.0f, 5.0f}, 1, 0, 16.0f, 62500.0f},
      {{0.0f, 1.0f}, 1, 0, 1.0f, 1000000.0f},
  };
  for (const Case& c : cases) {
    const DistanceScale scale = prepareScale(c.extremes, c.ndim, c.rangeFlag);
    EXPECT_EQ(scale.rMaximum, c.rMaximum) << c.ndim << " " << c.rangeFlag;
    EXPECT_EQ(scale.rat, c.rat) << c.ndim << " " << c.rangeFlag;
    EXPECT_TRUE(scale.formsBins());
  }
}

TEST(DistanceScale, DifferenceAndProductsAreFormedInDouble) {
  // max - min in float would lose the difference of these two values.
  const DistanceScale scale = prepareScale({-16777216.0f, 1.0f}, 1, 0);
  EXPECT_EQ(scale.rMaximum, static_cast<float>(16777217.0 * 16777217.0));
}

TEST(DistanceScale, ScalesThatFormNoBins) {
  const float inf = std::numeric_limits<float>::infinity();
  // All values equal: R-Maximum 0, Rat infinite.
  DistanceScale flat = prepareScale({3.0f, 3.0f}, 4, 1);
  EXPECT_EQ(flat.rMaximum, 0.0f);
  EXPECT_EQ(flat.rat, inf);
  EXPECT_FALSE(flat.formsBins());
  // Positive but so small that 1e6 / R-Maximum overflows the float range.
  DistanceScale tiny = prepareScale({0.0f, 1.0e-17f}, 1, 0);
  EXPECT_GT(tiny.rMaximum, 0.0f);
  EXPECT_FALSE(tiny.formsBins());
  // A range beyond the float range: R-Maximum infinite, Rat 0, which still
  // forms bins (every pair falls into bin 1).
  DistanceScale huge = prepareScale({-3.0e19f, 3.0e19f}, 1, 0);
  EXPECT_EQ(huge.rMaximum, inf);
  EXPECT_EQ(huge.rat, 0.0f);
  EXPECT_TRUE(huge.formsBins());
  EXPECT_EQ(binOf(1.0e38, huge.rat), 1);
}

TEST(BinOf, TruncatesTheDoubleProductAndAddsOne) {
  EXPECT_EQ(binOf(0.0, 500000.0f), 1);
  EXPECT_EQ(binOf(1.0, 500000.0f), 500001);
  EXPECT_EQ(binOf(2.0, 500000.0f), 1000001);
  EXPECT_EQ(binOf(0.25, 1000000.0f), 250001);
  EXPECT_EQ(binOf(std::nextafter(0.25, 0.0), 1000000.0f), 250000);
  // Rat is widened exactly: 454545.4375 * 2.2 in double is 999999.9625...
  EXPECT_EQ(binOf(2.2, 454545.4375f), 1000000);
}

TEST(BinOf, BinsBeyondTheHeadroomAreClamped) {
  EXPECT_EQ(binOf(1.0e30, 1000000.0f), kHistogramBins);
  EXPECT_EQ(binOf(1000099.5, 1.0f), kHistogramBins);
  EXPECT_EQ(binOf(1000098.5, 1.0f), 1000099);
}

}  // namespace
}  // namespace corrsum
