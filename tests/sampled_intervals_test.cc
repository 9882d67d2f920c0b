// Distance cells against the full histogram: the curve counts they give
// must equal those of binOf and accumulateAndSample for every bin.
#include "engine/sampled_intervals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/fast_pair_counter.h"

namespace corrsum {
namespace {

// Every bin's lower edge, the largest value below it and a point inside it,
// up to past the clamp, plus the values that only the clamp handles.
std::vector<double> scaledValuesAtEveryBinEdge() {
  std::vector<double> values;
  for (std::int32_t q = 0; q <= kHistogramBins + 5; ++q) {
    const double edge = q;
    values.push_back(edge);
    if (q > 0) values.push_back(std::nextafter(edge, 0.0));
    values.push_back(edge + 0.5);
  }
  for (double v : {1.0e7, 3.0e12, 2.2e9, 4.0e300, std::numeric_limits<double>::max(),
                   std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(),
                   std::numeric_limits<double>::denorm_min()})
    values.push_back(v);
  return values;
}

TEST(SampledIntervals, CellCountsGiveTheSampledCountsOfTheFullHistogram) {
  const std::vector<double> values = scaledValuesAtEveryBinEdge();
  // Rat 1 makes the squared distance the scaled value itself.
  PairHistogram histogram;
  histogram.clear();
  std::vector<std::int64_t> cells(kDistanceCells, 0);
  for (double v : values) {
    ++histogram.bins[static_cast<std::size_t>(binOf(v, 1.0f))];
    const std::int32_t cell = cellOfScaled(v);
    ASSERT_GE(cell, 0) << v;
    ASSERT_LE(cell, kBeyondScaleCell) << v;
    ++cells[static_cast<std::size_t>(cell)];
  }
  const SampledCounts expected = accumulateAndSample(histogram);
  const SampledCounts fromCells = sampledCountsFromCells(cells.data());
  for (int i = 0; i < kDistinctSampledBins; ++i)
    ASSERT_EQ(fromCells[static_cast<std::size_t>(i)], expected[static_cast<std::size_t>(i)])
        << "sampled bin " << sampledBins()[static_cast<std::size_t>(i)];
}

TEST(SampledIntervals, CellsOfKnownDistances) {
  struct Case {
    double scaled;
    std::int32_t cell;
  };
  const Case cases[] = {
      {0.0, 0},        {0.3, 0},         {999.9, 999},    {1000.0, 1000},     {1009.99, 1000},
      {1010.0, 1001},  {9999.5, 1899},   {10000.0, 1900}, {12345.6, 1923},    {99999.0, 2799},
      {100000.0, 2800}, {998999.9, 3698}, {999000.0, 3699}, {999999.99, 3699}, {1000000.0, kBeyondScaleCell},
      {1000099.5, kBeyondScaleCell},     {std::numeric_limits<double>::quiet_NaN(), kBeyondScaleCell},
  };
  for (const Case& c : cases) EXPECT_EQ(cellOfScaled(c.scaled), c.cell) << c.scaled;
}

TEST(SampledIntervals, VectorisedCellsEqualTheScalarCellsOnEveryInstructionSet) {
  const std::vector<double> values = scaledValuesAtEveryBinEdge();
  for (InstructionSet set : {InstructionSet::sse2, InstructionSet::avx2, InstructionSet::avx512}) {
    if (!isSupported(set)) continue;
    // An odd length leaves a partial vector at the end.
    const std::size_t n = values.size() - (values.size() % 2 == 0 ? 1 : 0);
    std::vector<std::int32_t> cells(n, -1);
    cellsOfScaledVectorised(std::span(values.data(), n), cells, set);
    for (std::size_t i = 0; i < n; ++i)
      ASSERT_EQ(cells[i], cellOfScaled(values[i])) << nameOf(set) << " at " << values[i];
  }
}

}  // namespace
}  // namespace corrsum
