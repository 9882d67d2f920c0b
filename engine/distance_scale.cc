#include "engine/distance_scale.h"

namespace corrsum {

DistanceScale prepareScale(const SeriesExtremes& extremes, std::int32_t ndim, std::int32_t rangeFlag) {
  const double d = static_cast<double>(extremes.maximum) - static_cast<double>(extremes.minimum);
  DistanceScale scale;
  scale.rMaximum = static_cast<float>(d * d * static_cast<double>(ndim));
  if (rangeFlag == 1) scale.rMaximum = scale.rMaximum * 1.1f;
  scale.rat = static_cast<float>(1000000.0 / static_cast<double>(scale.rMaximum));
  return scale;
}

}  // namespace corrsum
