#include "report/dimension_estimate.h"

#include <cmath>
#include <cstddef>

namespace corrsum::report {

double takensTheilerEstimate(std::span<const CurvePoint> points, int first, int last) {
  double integral = 0.0;
  for (int i = first; i < last; ++i) {
    const CurvePoint& a = points[static_cast<std::size_t>(i)];
    const CurvePoint& b = points[static_cast<std::size_t>(i) + 1];
    const double dx = b.lnR - a.lnR;
    const double dy = b.lnC - a.lnC;
    const double ca = std::exp(a.lnC);
    // The integral of exp(y) dx along the straight line from a to b is
    // (C_b - C_a) dx / dy; written with expm1 it stays exact as dy -> 0,
    // where it becomes C_a dx.
    integral += dy == 0.0 ? ca * dx : ca * std::expm1(dy) * dx / dy;
  }
  const double rise = std::exp(points[static_cast<std::size_t>(last)].lnC) -
                      std::exp(points[static_cast<std::size_t>(first)].lnC);
  return rise / integral;
}

DimensionEstimate estimateDimension(std::span<const CurvePoint> points, std::span<const double> slopes,
                                    const ScalingRegion& region) {
  const std::size_t first = static_cast<std::size_t>(region.first);
  const std::size_t count = static_cast<std::size_t>(region.last - region.first + 1);
  DimensionEstimate e;
  e.dimension = leastSquaresSlope(points.subspan(first, count));
  double mean = 0.0;
  for (std::size_t i = first; i < first + count; ++i) mean += slopes[i];
  mean /= static_cast<double>(count);
  double squares = 0.0;
  for (std::size_t i = first; i < first + count; ++i) squares += (slopes[i] - mean) * (slopes[i] - mean);
  e.uncertainty = std::sqrt(squares / static_cast<double>(count));
  e.takensTheiler = takensTheilerEstimate(points, region.first, region.last);
  e.lnRLow = points[first].lnR;
  e.lnRHigh = points[first + count - 1].lnR;
  e.cLow = std::exp(points[first].lnC);
  e.cHigh = std::exp(points[first + count - 1].lnC);
  e.points = static_cast<int>(count);
  return e;
}

CurveAnalysis analyseCurve(std::span<const CurvePoint> rows, const AnalysisOptions& options) {
  CurveAnalysis a;
  for (const CurvePoint& p : rows) {
    if (std::isfinite(p.lnR) && std::isfinite(p.lnC)) a.points.push_back(p);
  }
  a.slopes = localSlopes(a.points, options.window);
  a.region = findScalingRegion(a.points, a.slopes, options.window, options.region);
  if (a.region) a.estimate = estimateDimension(a.points, a.slopes, *a.region);
  return a;
}

}  // namespace corrsum::report
