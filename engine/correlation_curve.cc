#include "engine/correlation_curve.h"

#include "failure/math_failure.h"

namespace corrsum {

SampledCounts accumulateAndSample(PairHistogram& histogram) {
  auto& bins = histogram.bins;
  for (std::size_t b = 2; b <= kBinsInUse; ++b) bins[b] += bins[b - 1];
  SampledCounts counts{};
  const auto& sampled = sampledBins();
  for (int i = 0; i < kDistinctSampledBins; ++i) counts[i] = bins[static_cast<std::size_t>(sampled[i])];
  return counts;
}

CurveRow curveRow(std::int32_t bin, std::int64_t count, PairCount pairCount, float rat) {
  const auto n = static_cast<float>(count);
  const auto r2 = static_cast<float>(static_cast<double>(bin) / static_cast<double>(rat));
  const auto q = static_cast<float>(static_cast<double>(n) / static_cast<double>(pairCount));
  CurveRow row;
  row.lnR = static_cast<float>(checkedLog(r2) / 2.0);
  row.lnC = static_cast<float>(checkedLog(q));
  return row;
}

}  // namespace corrsum
