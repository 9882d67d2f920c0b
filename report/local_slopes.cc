#include "report/local_slopes.h"

#include <cmath>
#include <cstddef>

namespace corrsum::report {

double leastSquaresSlope(std::span<const CurvePoint> points) {
  const double n = static_cast<double>(points.size());
  double meanX = 0.0;
  double meanY = 0.0;
  for (const CurvePoint& p : points) {
    meanX += p.lnR;
    meanY += p.lnC;
  }
  meanX /= n;
  meanY /= n;
  double sxx = 0.0;
  double sxy = 0.0;
  for (const CurvePoint& p : points) {
    const double dx = p.lnR - meanX;
    sxx += dx * dx;
    sxy += dx * (p.lnC - meanY);
  }
  return sxy / sxx;
}

std::vector<double> localSlopes(std::span<const CurvePoint> points, int window) {
  std::vector<double> slopes(points.size(), std::nan(""));
  const std::size_t half = static_cast<std::size_t>(window / 2);
  const std::size_t width = 2 * half + 1;
  if (points.size() < width) return slopes;
  for (std::size_t i = half; i + half < points.size(); ++i) {
    slopes[i] = leastSquaresSlope(points.subspan(i - half, width));
  }
  return slopes;
}

}  // namespace corrsum::report
