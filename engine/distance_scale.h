// DistanceScale: R-Maximum, Rat and the rule that turns a squared distance
// into a histogram bin.
#pragma once

#include <cmath>
#include <cstdint>

#include "engine/series.h"

namespace corrsum {

/// Bins 1 to 1000000 are the scale proper; 100 more are headroom for
/// squared distances just above R-Maximum.
inline constexpr std::int32_t kBinsInUse = 1000000;
inline constexpr std::int32_t kHistogramBins = 1000100;

struct DistanceScale {
  float rMaximum = 0.0f;
  float rat = 0.0f;

  /// False when Rat is infinite or NaN (a series without spread): no bin can
  /// then be formed for a pair.
  bool formsBins() const { return std::isfinite(rat); }
};

/// d = max - min in double; R-Maximum = d * d * ndim in double, in that
/// order, rounded once to float; for range flag 1 only, times the float
/// nearest 1.1 in float; Rat = 1000000 / R-Maximum in double, rounded to
/// float. The series 0, 1 with ndim 2 gives R-Maximum 2 and Rat 500000; with
/// range flag 1, 2.2000000477 and 454545.4375.
DistanceScale prepareScale(const SeriesExtremes& extremes, std::int32_t ndim, std::int32_t rangeFlag);

/// trunc(s * Rat) + 1 with the product in double (Rat widened exactly).
/// Bin 1 holds distance 0. With Rat 500000, s = 1 gives bin 500001. Bins
/// beyond the headroom, which no rounding within the scale reaches, are
/// clamped to its last bin. Needs a scale that forms bins.
inline std::int32_t binOf(double squaredDistance, float rat) {
  double scaled = squaredDistance * static_cast<double>(rat);
  if (!(scaled < static_cast<double>(kHistogramBins - 1))) return kHistogramBins;
  return static_cast<std::int32_t>(scaled) + 1;
}

}  // namespace corrsum
