// The sampling schedule and the rows built from accumulated counts.
#include "engine/correlation_curve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace corrsum {
namespace {

TEST(SamplingSchedule, VisitsOfEachDecade) {
  const auto& visits = samplingSchedule();
  for (int b = 1; b <= 100; ++b) EXPECT_EQ(visits[b - 1], b);
  for (std::int32_t base : {100, 1000, 10000, 100000}) {
    const auto inDecade = std::count_if(visits.begin() + 100, visits.end(), [&](std::int32_t b) {
      return b >= base && b < 10 * base;
    });
    EXPECT_EQ(inDecade, 290) << base;
  }
  EXPECT_EQ(visits[100], 100);
  EXPECT_EQ(visits.back(), 999000);
  EXPECT_EQ(*std::max_element(visits.begin(), visits.end()), 999000);
  EXPECT_TRUE(std::is_sorted(visits.begin(), visits.end()));
}

TEST(SamplingSchedule, DoubledBinsAreVisitedTwiceInARow) {
  const auto& visits = samplingSchedule();
  std::vector<std::int32_t> doubled;
  for (int v = 1; v < kScheduleVisits; ++v)
    if (visits[v] == visits[v - 1]) doubled.push_back(visits[v]);
  const std::vector<std::int32_t> expected = {100,   200,   300,    500,    600,    2000,   3000,   5000,  6000,
                                              20000, 30000, 50000,  60000,  200000, 300000, 500000, 600000};
  EXPECT_EQ(doubled, expected);
  EXPECT_EQ(kScheduleVisits - static_cast<int>(doubled.size()), kDistinctSampledBins);
  const auto& distinct = sampledBins();
  EXPECT_TRUE(std::adjacent_find(distinct.begin(), distinct.end(), std::greater_equal<>()) == distinct.end());
  for (int v = 0; v < kScheduleVisits; ++v) EXPECT_EQ(distinct[visitSampleIndex()[v]], visits[v]);
}

TEST(SamplingSchedule, StepsWithinOneDecade) {
  // The decade of P = 1000: k = 3 runs 3000, 3030, ... 3990.
  const auto& visits = samplingSchedule();
  const auto first = std::find(visits.begin(), visits.end(), 3000);
  ASSERT_NE(first, visits.end());
  EXPECT_EQ(*(first + 1), 3000);  // the end of k = 2 and the start of k = 3
  EXPECT_EQ(*(first + 2), 3030);
  EXPECT_EQ(*(first + 34), 3990);
  EXPECT_EQ(*(first + 35), 4000);
}

TEST(CurveRow, RoundingsOfOneRow) {
  // One pair at squared distance 0.25 with Rat 1e6: the first row is bin 252000.
  const CurveRow row = curveRow(252000, 1, 1, 1000000.0f);
  EXPECT_EQ(row.lnR, -0.6891631f);
  EXPECT_EQ(row.lnC, 0.0f);
  const CurveRow last = curveRow(999000, 1, 1, 1000000.0f);
  EXPECT_EQ(last.lnR, -5.0024374e-04f);
}

TEST(CurveRow, NormaliserBeyondThirtyTwoBitsStaysExact) {
  // 3e9 pairs: a 32-bit normaliser would be negative.
  const PairCount pairs = 3000000000;
  EXPECT_EQ(curveRow(1000, pairs, pairs, 1000.0f).lnC, 0.0f);
  EXPECT_EQ(curveRow(1000, pairs / 2, pairs, 1000.0f).lnC, static_cast<float>(std::log(0.5)));
  // The count is rounded to float first: 2^24 + 1 becomes 2^24.
  const PairCount big = (PairCount{1} << 24) + 1;
  EXPECT_EQ(curveRow(1000, big, big, 1000.0f).lnC,
            static_cast<float>(std::log(static_cast<double>(static_cast<float>(16777216.0 / 16777217.0)))));
}

TEST(CurveRow, InfiniteRMaximumGivesInfiniteLnR) {
  const CurveRow row = curveRow(5, 3, 3, 0.0f);
  EXPECT_TRUE(std::isinf(row.lnR));
  EXPECT_EQ(row.lnC, 0.0f);
}

TEST(ForEachCurveRow, WritesOnlyVisitsWithPairs) {
  PairHistogram histogram;
  histogram.bins[250001] = 1;  // the one pair of the series 0, 0.5, 1
  const SampledCounts counts = accumulateAndSample(histogram);
  std::vector<CurveRow> rows;
  forEachCurveRow(counts, 1, 1000000.0f, [&](const CurveRow& row) { rows.push_back(row); });
  ASSERT_EQ(rows.size(), 163u);
  EXPECT_EQ(rows.front().lnR, -0.6891631f);
  EXPECT_LT(rows.front().lnR, rows[1].lnR);
  EXPECT_EQ(rows.back().lnR, -5.0024374e-04f);
}

TEST(ForEachCurveRow, AllPairsAtDistanceZeroGiveEveryVisit) {
  PairHistogram histogram;
  histogram.bins[1] = 3;
  const SampledCounts counts = accumulateAndSample(histogram);
  int rows = 0;
  float firstLnR = 0.0f;
  forEachCurveRow(counts, 3, 62500.0f, [&](const CurveRow& row) {
    if (rows++ == 0) firstLnR = row.lnR;
    EXPECT_EQ(row.lnC, 0.0f);
  });
  EXPECT_EQ(rows, kScheduleVisits);
  EXPECT_EQ(firstLnR, static_cast<float>(std::log(static_cast<double>(static_cast<float>(1.0 / 62500.0))) / 2.0));
}

TEST(AccumulateAndSample, CountsPairsAtOrBelowEachSampledBin) {
  PairHistogram histogram;
  histogram.bins[1] = 2;
  histogram.bins[101] = 5;   // below 102, the next sampled bin
  histogram.bins[999001] = 7;  // beyond the last sampled bin
  histogram.bins[1000050] = 9;  // headroom takes no part
  const SampledCounts counts = accumulateAndSample(histogram);
  EXPECT_EQ(counts[0], 2);
  EXPECT_EQ(counts[99], 2);    // bin 100
  EXPECT_EQ(counts[100], 7);   // bin 102
  EXPECT_EQ(counts.back(), 7);  // bin 999000
  EXPECT_EQ(histogram.bins[kBinsInUse], 14);
}

}  // namespace
}  // namespace corrsum
