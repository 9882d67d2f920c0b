// The correlation dimension of one curve: the slope in its scaling region,
// the spread of the local slopes there, and the Takens-Theiler cross-check.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "report/curve_file.h"
#include "report/local_slopes.h"
#include "report/scaling_region.h"

namespace corrsum::report {

struct DimensionEstimate {
  /// The least-squares slope of ln C on ln r over the region's points.
  double dimension = 0.0;
  /// The standard deviation of the local slopes of the region's points.
  double uncertainty = 0.0;
  /// The Takens-Theiler estimate over the same region.
  double takensTheiler = 0.0;
  double lnRLow = 0.0;
  double lnRHigh = 0.0;
  double cLow = 0.0;
  double cHigh = 0.0;
  int points = 0;
};

/// The Takens-Theiler estimate between points `first` and `last`:
///   D = (C(r_hi) - C(r_lo)) / (integral of C(r) / r dr from r_lo to r_hi),
/// the likelihood estimate C(r_hi) / (integral from 0 to r_hi) with the
/// curve below r_lo taken as the power law it has in the region, so the
/// sparse bottom plays no part. Between rows C is integrated as the power
/// law through both rows, exact for ln C linear in ln r: points on
/// ln C = D ln r + c give D. It weighs the local slopes by C, so it leans
/// on the top of the region, where more pairs were counted.
double takensTheilerEstimate(std::span<const CurvePoint> points, int first, int last);

/// The estimate over `region`, with `slopes` the local slopes of `points`.
DimensionEstimate estimateDimension(std::span<const CurvePoint> points, std::span<const double> slopes,
                                    const ScalingRegion& region);

/// Everything the report shows of one curve.
struct CurveAnalysis {
  /// The rows with finite ln r and ln C, in file order.
  std::vector<CurvePoint> points;
  std::vector<double> slopes;
  std::optional<ScalingRegion> region;
  std::optional<DimensionEstimate> estimate;
};

struct AnalysisOptions {
  int window = kDefaultSlopeWindow;
  RegionOptions region;
};

/// Drops the rows that are not finite (a series without spread writes
/// -Infinity for ln r), forms the local slopes, finds the region and, when
/// there is one, the estimate.
CurveAnalysis analyseCurve(std::span<const CurvePoint> rows, const AnalysisOptions& options);

}  // namespace corrsum::report
