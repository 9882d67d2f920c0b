#include "report/scaling_region.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace corrsum::report {
namespace {

double median(const std::vector<double>& sorted) {
  const std::size_t n = sorted.size();
  return n % 2 == 1 ? sorted[n / 2] : 0.5 * (sorted[n / 2 - 1] + sorted[n / 2]);
}

}  // namespace

double estimatePairCount(std::span<const CurvePoint> points) {
  double smallest = HUGE_VAL;
  for (const CurvePoint& p : points) smallest = std::min(smallest, std::exp(p.lnC));
  if (!(smallest > 0.0) || !std::isfinite(smallest)) return 0.0;
  const double ceiling = 1000.0 * smallest;
  double smallestRise = HUGE_VAL;
  for (std::size_t i = 1; i < points.size(); ++i) {
    const double before = std::exp(points[i - 1].lnC);
    const double after = std::exp(points[i].lnC);
    if (after > ceiling) continue;
    if (after > before) smallestRise = std::min(smallestRise, after - before);
  }
  if (std::isfinite(smallestRise)) return 1.0 / smallestRise;
  return 1.0 / smallest;
}

UsableRange usableRange(std::span<const CurvePoint> points, const RegionOptions& options) {
  const double pairs = estimatePairCount(points);
  UsableRange range;
  const int n = static_cast<int>(points.size());
  range.first = n;
  for (int i = 0; i < n; ++i) {
    // The count behind the point; the small allowance keeps a point of
    // exactly minPairs pairs whose C came back a hair short.
    if (std::exp(points[static_cast<std::size_t>(i)].lnC) * pairs * (1.0 + 1e-6) >= options.minPairs) {
      range.first = i;
      break;
    }
  }
  range.last = -1;
  for (int i = n - 1; i >= 0; --i) {
    if (std::exp(points[static_cast<std::size_t>(i)].lnC) <= options.maxC) {
      range.last = i;
      break;
    }
  }
  return range;
}

std::optional<ScalingRegion> findScalingRegion(std::span<const CurvePoint> points, std::span<const double> slopes,
                                               int window, const RegionOptions& options) {
  const UsableRange usable = usableRange(points, options);
  const int half = window / 2;
  const int lo = usable.first + half;
  const int hi = usable.last - half;
  std::optional<ScalingRegion> best;
  double bestWidth = -1.0;
  std::vector<double> sorted;
  for (int i = lo; i <= hi; ++i) {
    sorted.clear();
    for (int j = i; j <= hi; ++j) {
      const double s = slopes[static_cast<std::size_t>(j)];
      if (!std::isfinite(s)) break;
      sorted.insert(std::upper_bound(sorted.begin(), sorted.end(), s), s);
      const double spreadLimit = options.tolerance * std::max(std::fabs(sorted.front()), std::fabs(sorted.back()));
      // Every slope within t |median| of the median needs max - min within
      // 2 t |median|, and |median| is at most the larger end: once the run
      // is wider than that, no longer run from i can qualify.
      if (sorted.back() - sorted.front() > 2.0 * spreadLimit) break;
      const int count = j - i + 1;
      if (count < window) continue;
      const double m = median(sorted);
      const double limit = options.tolerance * std::fabs(m);
      if (sorted.back() - m > limit || m - sorted.front() > limit) continue;
      const double width = points[static_cast<std::size_t>(j)].lnR - points[static_cast<std::size_t>(i)].lnR;
      const bool wider = width > bestWidth || (width == bestWidth && count > best->last - best->first + 1);
      if (wider) {
        bestWidth = width;
        best = ScalingRegion{i, j, m};
      }
    }
  }
  return best;
}

}  // namespace corrsum::report
