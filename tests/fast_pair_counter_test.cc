// The fast counter against the reference counter: the same curve counts
// and pair counts, for every instruction set and thread count, on series
// built to hit its tile edges, job boundaries and rounding corners.
#include "engine/fast_pair_counter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/pair_counter.h"

namespace corrsum {
namespace {

enum class Kind {
  uniform,       // values spread over [-1, 1]
  binEdgeTies,   // small integers: many squared distances fall exactly on bin edges
  repeated,      // three values only: long runs of equal distances and cells
  hugeRange,     // squared distances beyond float range: R-Maximum infinite, Rat 0
  tinyRange,     // values near 1e-15: Rat near 1e36
  withInfinity,  // an infinite value: sums of inf - inf, NaN bins, the clamp
  nearTop,       // largest spread at both ends: distances near R-Maximum and the headroom
};

std::string nameOfKind(Kind kind) {
  switch (kind) {
    case Kind::uniform: return "uniform";
    case Kind::binEdgeTies: return "binEdgeTies";
    case Kind::repeated: return "repeated";
    case Kind::hugeRange: return "hugeRange";
    case Kind::tinyRange: return "tinyRange";
    case Kind::withInfinity: return "withInfinity";
    case Kind::nearTop: return "nearTop";
  }
  return "?";
}

Series makeSeries(Kind kind, std::int32_t n, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
  std::uniform_int_distribution<int> small(0, 10);
  Series series;
  for (std::int32_t i = 1; i <= n; ++i) {
    float v = 0.0f;
    switch (kind) {
      case Kind::uniform: v = unit(random); break;
      case Kind::binEdgeTies: v = static_cast<float>(small(random)); break;
      case Kind::repeated: v = static_cast<float>(small(random) % 3) * 0.25f; break;
      case Kind::hugeRange: v = unit(random) * 3.0e19f; break;
      case Kind::tinyRange: v = 1.0e-15f * unit(random); break;
      case Kind::withInfinity: v = i % 7 == 3 ? std::numeric_limits<float>::infinity() : unit(random); break;
      case Kind::nearTop: v = (i % 2 == 0 ? 1.0f : -1.0f) * (1.0f - 1.0e-7f * static_cast<float>(small(random))); break;
    }
    series.values[static_cast<std::size_t>(i)] = v;
  }
  series.count = n;
  return series;
}

SeriesExtremes extremesOf(const Series& series) {
  SeriesExtremes e;
  if (series.count == 0) return e;
  e.minimum = e.maximum = series.at(1);
  for (std::int32_t i = 2; i <= series.count; ++i) {
    e.minimum = std::min(e.minimum, series.at(i));
    e.maximum = std::max(e.maximum, series.at(i));
  }
  return e;
}

struct Expected {
  SampledCounts counts{};
  PairCount pairs = 0;
};

// The reference's counts for every dimension 1 .. mMax, computed once.
std::vector<Expected> referenceCounts(const Series& series, std::int32_t t, std::int32_t mMax, std::int32_t rangeFlag,
                                      PairHistogram& histogram) {
  std::vector<Expected> expected(static_cast<std::size_t>(mMax) + 1);
  for (std::int32_t m = 1; m <= mMax; ++m) {
    const DistanceScale scale = prepareScale(extremesOf(series), m, rangeFlag);
    if (pairsOf(lastPairedVector(series.count, m, t)) > 0 && !scale.formsBins()) continue;
    histogram.clear();
    Expected& e = expected[static_cast<std::size_t>(m)];
    e.pairs = countPairsReference(series, m, t, scale, histogram);
    e.counts = accumulateAndSample(histogram);
  }
  return expected;
}

std::vector<InstructionSet> supportedSets() {
  std::vector<InstructionSet> sets;
  for (InstructionSet set : {InstructionSet::sse2, InstructionSet::avx2, InstructionSet::avx512})
    if (isSupported(set)) sets.push_back(set);
  return sets;
}

void expectSameCounts(const CountingJob& job, const Expected& expected, const std::string& where) {
  ASSERT_EQ(job.pairs, expected.pairs) << where;
  for (int i = 0; i < kDistinctSampledBins; ++i)
    ASSERT_EQ(job.counts[static_cast<std::size_t>(i)], expected.counts[static_cast<std::size_t>(i)])
        << where << ", sampled bin " << sampledBins()[static_cast<std::size_t>(i)];
}

// Every dimension 1 .. 12 in one pass, and each T from 1 to 7, on lengths
// around the tile widths (8, 16 and 128 partners) and the dimension cut-offs.
TEST(FastPairCounter, OnePassOverTwelveDimensionsEqualsTheReference) {
  const std::vector<InstructionSet> sets = supportedSets();
  PairHistogram histogram;
  const std::int32_t lengths[] = {1, 2, 3, 13, 33, 65, 66, 67, 99, 129, 130, 131, 258};
  const Kind kinds[] = {Kind::uniform, Kind::binEdgeTies, Kind::repeated, Kind::hugeRange,
                        Kind::tinyRange, Kind::withInfinity, Kind::nearTop};
  unsigned seed = 1;
  for (Kind kind : kinds)
    for (std::int32_t n : lengths)
      for (std::int32_t t = 1; t <= 7; ++t) {
        const Series series = makeSeries(kind, n, ++seed);
        const std::int32_t rangeFlag = static_cast<std::int32_t>(seed % 2);
        const std::vector<Expected> expected = referenceCounts(series, t, 12, rangeFlag, histogram);
        for (InstructionSet set : sets) {
          const int threads = 1 + static_cast<int>(seed % 3);
          FastPairCounter counter(threads, set);
          std::vector<CountingJob> jobs;
          for (std::int32_t m = 1; m <= 12; ++m) jobs.push_back({m, prepareScale(extremesOf(series), m, rangeFlag)});
          counter.count(series, t, jobs);
          for (const CountingJob& job : jobs) {
            if (job.pairs > 0 && !job.scale.formsBins()) continue;
            expectSameCounts(job, expected[static_cast<std::size_t>(job.m)],
                             nameOfKind(kind) + " n=" + std::to_string(n) + " T=" + std::to_string(t) +
                                 " m=" + std::to_string(job.m) + " " + std::string(nameOf(set)) +
                                 " threads=" + std::to_string(threads));
          }
        }
      }
}

// Longer series, one job at a time and in a mixed pass, with thread counts
// that do and do not divide the chunks: the split must not matter.
TEST(FastPairCounter, ThreadSplitsGiveTheReferenceCounts) {
  PairHistogram histogram;
  struct Case {
    Kind kind;
    std::int32_t n;
    std::int32_t t;
  };
  const Case cases[] = {{Kind::uniform, 1500, 1}, {Kind::binEdgeTies, 1201, 3}, {Kind::repeated, 777, 2}};
  for (const Case& c : cases) {
    const Series series = makeSeries(c.kind, c.n, static_cast<unsigned>(c.n));
    const std::vector<Expected> expected = referenceCounts(series, c.t, 5, 0, histogram);
    for (InstructionSet set : supportedSets())
      for (int threads : {1, 2, 3, 5}) {
        FastPairCounter counter(threads, set);
        const std::string where = nameOfKind(c.kind) + " n=" + std::to_string(c.n) + " " +
                                  std::string(nameOf(set)) + " threads=" + std::to_string(threads);
        std::vector<CountingJob> mixed;
        for (std::int32_t m : {5, 2, 1, 2}) mixed.push_back({m, prepareScale(extremesOf(series), m, 0)});
        counter.count(series, c.t, mixed);
        for (const CountingJob& job : mixed)
          expectSameCounts(job, expected[static_cast<std::size_t>(job.m)], where + " m=" + std::to_string(job.m));
        // The same counter again, one job: its tables are reused cleanly.
        std::vector<CountingJob> single{{3, prepareScale(extremesOf(series), 3, 0)}};
        counter.count(series, c.t, single);
        expectSameCounts(single[0], expected[3], where + " single m=3");
      }
  }
}

TEST(FastPairCounter, JobsWithoutPairsOrWithoutBinsGetZeroCounts) {
  const Series series = makeSeries(Kind::uniform, 10, 7);
  std::vector<CountingJob> jobs{
      {9, prepareScale(extremesOf(series), 9, 0)},   // one vector: no pair
      {20, prepareScale(extremesOf(series), 20, 0)},  // no vector at all
      {2, DistanceScale{0.0f, std::numeric_limits<float>::infinity()}},
  };
  FastPairCounter counter(2);
  counter.count(series, 1, jobs);
  EXPECT_EQ(jobs[0].pairs, 0);
  EXPECT_EQ(jobs[1].pairs, 0);
  EXPECT_EQ(jobs[2].pairs, 28);
  for (const CountingJob& job : jobs)
    for (std::int64_t count : job.counts) ASSERT_EQ(count, 0) << "m=" << job.m;
}

TEST(FastPairCounter, UsesEveryAvailableCoreAndTheBestInstructionSet) {
  const FastPairCounter counter;
  EXPECT_EQ(counter.threads(), availableCores());
  EXPECT_EQ(counter.instructionSet(), bestInstructionSet());
  EXPECT_TRUE(isSupported(InstructionSet::sse2));
}

}  // namespace
}  // namespace corrsum
