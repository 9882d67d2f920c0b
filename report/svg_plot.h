// The figure: ln C against ln r for every dimension, and the local slopes
// against ln r with each scaling region and the converged value marked.
// Written as plain SVG text: self-contained (no scripts, fonts or links),
// so any browser shows it, and the same input gives the same bytes.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "report/curve_file.h"
#include "report/dimension_estimate.h"

namespace corrsum::report {

/// What the figure shows of one curve.
struct PlotCurve {
  int ndim = 0;
  std::vector<CurvePoint> points;
  /// One per point; NaN where the slope window does not fit.
  std::vector<double> slopes;
  std::optional<ScalingRegion> region;
  std::optional<DimensionEstimate> estimate;
};

/// Tick positions for an axis from lo to hi: the multiples within [lo, hi]
/// of the smallest step of 1, 2 or 5 times a power of ten that cuts the
/// axis into at most `target` intervals; `decimals` digits after the point
/// show every tick exactly. niceTicks(-5.6, 0.4, 6) gives -5, -4, ..,
/// 0 with 0 decimals; niceTicks(0, 1.8, 6) gives 0, 0.5, 1, 1.5 with 1.
struct AxisTicks {
  std::vector<double> values;
  int decimals = 0;
};
AxisTicks niceTicks(double lo, double hi, int target);

/// The whole SVG document. The upper panel draws each curve as a line in
/// its dimension's colour, thicker over its scaling region; the lower panel
/// draws the local slopes, a bar at the estimate across each scaling region
/// and, when given, the converged value as a dashed line across the panel.
/// Both panels share the ln r axis; each has a legend. Curves without
/// finite points are left out; with none at all the panels stay empty.
std::string renderPlotSvg(std::span<const PlotCurve> curves, std::optional<double> convergedValue);

}  // namespace corrsum::report
