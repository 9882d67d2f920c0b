// The reference pair counter: which vectors pair, and how many pairs.
#include "engine/pair_counter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>

namespace corrsum {
namespace {

Series seriesOf(std::initializer_list<float> values) {
  Series series;
  for (float v : values) series.values[static_cast<std::size_t>(++series.count)] = v;
  return series;
}

std::int64_t totalCounted(const PairHistogram& histogram) {
  return std::accumulate(histogram.bins.begin() + 1, histogram.bins.end(), std::int64_t{0});
}

TEST(LastPairedVector, IndexArithmeticIsSixtyFourBit) {
  EXPECT_EQ(lastPairedVector(10, 2, 1), 8);
  EXPECT_EQ(lastPairedVector(10, 2, 3), 6);
  EXPECT_EQ(lastPairedVector(10, 1, 1), 9);
  EXPECT_EQ(lastPairedVector(2, 1, 1), 1);
  EXPECT_EQ(lastPairedVector(1, 1, 1), 0);
  EXPECT_EQ(lastPairedVector(0, 1, 1), 0);
  EXPECT_EQ(lastPairedVector(-5, 1, 1), 0);
  // (m - 1) T overflows 32 bits here; it must simply leave no vectors.
  EXPECT_EQ(lastPairedVector(150000, 3, 2147483647), 0);
  EXPECT_EQ(lastPairedVector(150000, 2147483647, 2147483647), 0);
}

TEST(PairsOf, IsLTimesLMinusOneOverTwo) {
  EXPECT_EQ(pairsOf(0), 0);
  EXPECT_EQ(pairsOf(1), 0);
  EXPECT_EQ(pairsOf(8), 28);
  EXPECT_EQ(pairsOf(6), 15);
  // Beyond the 32-bit range: 149999 vectors.
  EXPECT_EQ(pairsOf(149999), std::int64_t{149999} * 149998 / 2);
}

TEST(ReferenceCounter, CountsEveryPairOnceAndReadsNothingBeyondTheLastVector) {
  struct Case {
    std::int32_t m, t;
    PairCount pairs;
  } cases[] = {{2, 1, 28}, {2, 3, 15}, {1, 1, 36}, {3, 4, 0}, {4, 3, 0}, {5, 2, 0}};
  for (const Case& c : cases) {
    // x(10) is a NaN: a pair that read it would land in the clamped last bin.
    Series series = seriesOf({0, 1, 2, 3, 4, 5, 6, 7, 8, std::numeric_limits<float>::quiet_NaN()});
    const DistanceScale scale = prepareScale({0.0f, 9.0f}, c.m, 0);
    PairHistogram histogram;
    EXPECT_EQ(countPairsReference(series, c.m, c.t, scale, histogram), c.pairs) << c.m << " " << c.t;
    EXPECT_EQ(totalCounted(histogram), c.pairs);
    EXPECT_EQ(histogram.bins[kHistogramBins], 0);
  }
}

TEST(ReferenceCounter, SquaredDistancesLandInTheirBins) {
  // Vectors (0,1), (1,3), (3,6): squared distances 1+4=5, 9+25=34, 4+9=13,
  // but only vectors 1 and 2 pair (vector 3 is the last complete one).
  Series series = seriesOf({0, 1, 3, 6});
  const DistanceScale scale{36.0f, 1.0f};
  PairHistogram histogram;
  EXPECT_EQ(countPairsReference(series, 2, 1, scale, histogram), 1);
  EXPECT_EQ(histogram.bins[6], 1);
  EXPECT_EQ(totalCounted(histogram), 1);
}

TEST(ReferenceCounter, EqualValuesAllLandInBinOne) {
  Series series = seriesOf({1, 1, 1, 5});
  const DistanceScale scale = prepareScale({1.0f, 5.0f}, 1, 0);
  PairHistogram histogram;
  EXPECT_EQ(countPairsReference(series, 1, 1, scale, histogram), 3);
  EXPECT_EQ(histogram.bins[1], 3);
}

}  // namespace
}  // namespace corrsum
