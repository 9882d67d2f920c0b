// The scaling region of a curve: where ln C rises linearly with ln r.
#pragma once

#include <optional>
#include <span>

#include "report/curve_file.h"

namespace corrsum::report {

struct RegionOptions {
  /// The local slopes of the region stay within this fraction of their
  /// median: 0.15 lets a slope of 1.2 wander between 1.02 and 1.38, room
  /// for the ripple that the layered structure of an attractor leaves.
  double tolerance = 0.15;
  /// The sparse bottom: points below this many pairs are left out, their
  /// slopes being the noise of counting a handful of pairs.
  double minPairs = 50.0;
  /// The saturated top: points with C above this are left out, the pairs
  /// there feeling the size of the attractor rather than its dimension.
  double maxC = 0.5;
};

/// Points `first` to `last` (indices, inclusive) of a curve.
struct ScalingRegion {
  int first = 0;
  int last = 0;
  double medianSlope = 0.0;
};

/// The number of pairs behind a curve, which its file does not state: C is
/// a count over the pair count N, and at the bottom of the curve counts grow
/// by single pairs, so 1 / (the smallest rise of C between rows) is N. Only
/// rows with C up to 1000 times the smallest C are compared, where the
/// rounding of ln C to single precision cannot fake a small rise. A curve
/// whose counts never rise by one pair gives less than N, which only leaves
/// out more of the bottom. Without any rise, 1 / (smallest C). Points
/// ln C = ln(1/8), ln(2/8), ln(5/8) give 8.
double estimatePairCount(std::span<const CurvePoint> points);

/// The usable points: from the first with at least minPairs pairs (by the
/// estimate above) to the last with C at most maxC. Empty (first > last)
/// when none is.
struct UsableRange {
  int first = 0;
  int last = -1;
};
UsableRange usableRange(std::span<const CurvePoint> points, const RegionOptions& options);

/// The widest run of consecutive points, measured in ln r, whose local
/// slopes all lie within tolerance x |median| of the run's own median.
/// Candidates are the usable points whose slope window (`window` points
/// centred on them) lies wholly inside the usable range, so no slope of the
/// region was formed from the excluded top or bottom. A run needs at least
/// `window` points; between runs of equal width the one with more points,
/// then the lower one, wins. Nothing when no run qualifies.
std::optional<ScalingRegion> findScalingRegion(std::span<const CurvePoint> points, std::span<const double> slopes,
                                               int window, const RegionOptions& options);

}  // namespace corrsum::report
