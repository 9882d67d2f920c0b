// Curve files for the report's tests, made in-process by corrsum's own
// engine and record writer, so they hold exactly the rows the program
// writes; and the series of the validation cases.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/correlation_curve.h"
#include "engine/distance_scale.h"
#include "engine/pair_counter.h"
#include "engine/pair_histogram.h"
#include "engine/series.h"
#include "textio/list_writer.h"

namespace corrsum::testing {

/// The bytes of the curve file that corrsum writes for `values` in
/// embedding dimension `ndim` with delay `t` and range flag `rangeFlag`.
inline std::string curveFileFor(const std::vector<float>& values, std::int32_t ndim, std::int32_t t = 1,
                                std::int32_t rangeFlag = 0) {
  Series series;
  std::copy(values.begin(), values.end(), series.values.begin() + 1);
  series.count = static_cast<std::int32_t>(values.size());
  SeriesExtremes extremes;
  if (!values.empty()) {
    extremes.minimum = *std::min_element(values.begin(), values.end());
    extremes.maximum = *std::max_element(values.begin(), values.end());
  }
  const DistanceScale scale = prepareScale(extremes, ndim, rangeFlag);
  PairHistogram histogram;
  histogram.clear();
  const PairCount pairs = countPairsReference(series, ndim, t, scale, histogram);
  const SampledCounts counts = accumulateAndSample(histogram);
  StringSink sink;
  ListWriter writer(sink);
  forEachCurveRow(counts, pairs, scale.rat, [&](const CurveRow& row) { writer.writeList({row.lnR, row.lnC}); });
  return sink.bytes;
}

/// The x coordinate of the Henon map x' = 1 - a x^2 + y, y' = b x with
/// a = 1.4, b = 0.3, from (0, 0) after `transient` steps.
inline std::vector<float> henonSeries(int count, int transient = 1000) {
  double x = 0.0;
  double y = 0.0;
  std::vector<float> out;
  for (int i = 0; i < transient + count; ++i) {
    const double nx = 1.0 - 1.4 * x * x + y;
    y = 0.3 * x;
    x = nx;
    if (i >= transient) out.push_back(static_cast<float>(x));
  }
  return out;
}

/// Uniform numbers in [0, 1) from a 64-bit xorshift generator with a fixed
/// seed: the same values on every platform and library, which the
/// standard distributions do not promise.
inline std::vector<float> uniformSeries(int count, std::uint64_t seed = 0x9E3779B97F4A7C15ull) {
  std::uint64_t state = seed;
  std::vector<float> out;
  for (int i = 0; i < count; ++i) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    // The top 24 bits give a float in [0, 1) exactly.
    out.push_back(static_cast<float>(state >> 40) / 16777216.0f);
  }
  return out;
}

/// sin(step j), j = 0 .. count - 1.
inline std::vector<float> sineSeries(int count, double step = 0.1) {
  std::vector<float> out;
  for (int j = 0; j < count; ++j) out.push_back(static_cast<float>(std::sin(step * j)));
  return out;
}

}  // namespace corrsum::testing
