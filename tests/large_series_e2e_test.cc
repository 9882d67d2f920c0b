// A series with more pairs than a 32-bit count can hold.
#include <gtest/gtest.h>

#include <string>

#include "engine/correlation_curve.h"
#include "engine/distance_scale.h"
#include "engine/pair_counter.h"
#include "tests/program_run.h"
#include "textio/list_writer.h"

namespace corrsum::testing {
namespace {

// The ramp x(i) = i: the pairs at index distance d all have squared
// distance d^2, and there are L - d of them, so the histogram follows from
// one loop over d instead of one over the pairs.
std::string rampCurve(std::int32_t n) {
  const std::int64_t last = lastPairedVector(n, 1, 1);
  const DistanceScale scale = prepareScale({1.0f, static_cast<float>(n)}, 1, 0);
  PairHistogram histogram;
  for (std::int64_t d = 1; d < last; ++d)
    histogram.bins[static_cast<std::size_t>(binOf(static_cast<double>(d) * static_cast<double>(d), scale.rat))] +=
        last - d;
  StringSink sink;
  ListWriter writer(sink);
  forEachCurveRow(accumulateAndSample(histogram), pairsOf(last), scale.rat,
                  [&](const CurveRow& row) { writer.writeList({row.lnR, row.lnC}); });
  return sink.bytes;
}

TEST(LargeSeries, MoreThan65537VectorsGiveTheExactCurve) {
  constexpr std::int32_t n = 70000;  // 69999 vectors pair: 2449895001 pairs
  TempDir dir;
  std::string series;
  for (std::int32_t i = 1; i <= n; ++i) series += std::to_string(i) + "\n";
  dir.write("ramp.tms", series);
  const ProgramResult result = runCorrsum("ramp.tms\n70000\n1\n0\n1\n1\nramp.dat\n", dir.path());
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitStatus, 0);
  const std::string curve = readFile(dir / "ramp.dat");
  EXPECT_EQ(curve, rampCurve(n));
  // Index distance 1 already lies in bin 1, so every visit writes a row; a
  // negative 32-bit normaliser would have ended the run at the first one.
  EXPECT_EQ(curve.size(), 1260u * 32u);
}

}  // namespace
}  // namespace corrsum::testing
