// Local slopes of a curve: d ln C / d ln r by least squares over a sliding
// window of neighbouring points.
#pragma once

#include <span>
#include <vector>

#include "report/curve_file.h"

namespace corrsum::report {

/// The default window: 31 points, which beyond the first 100 bins spans
/// about 0.15 in ln r (corrsum samples some 200 points per unit of ln r),
/// wide enough to average the step-wise rise of C over few pairs and narrow
/// enough to follow the curve's bends.
inline constexpr int kDefaultSlopeWindow = 31;

/// The least-squares slope of ln C on ln r through all `points` (at least
/// two, with distinct ln r), formed around the means so that a long run of
/// nearby ln r loses no digits. Points on ln C = D ln r + c give D.
double leastSquaresSlope(std::span<const CurvePoint> points);

/// For each point i, the least-squares slope over the `window` points
/// centred on it, i - window/2 .. i + window/2 (`window` odd, at least 3).
/// Points closer than window/2 to either end get NaN: their window does not
/// fit. Five points with window 3 give NaN, s1, s2, s3, NaN.
std::vector<double> localSlopes(std::span<const CurvePoint> points, int window);

}  // namespace corrsum::report
