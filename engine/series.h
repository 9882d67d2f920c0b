// Series and SeriesExtremes: the loaded values, shared by every job.
#pragma once

#include <cstdint>
#include <vector>

namespace corrsum {

/// The largest number of values a run can load.
inline constexpr std::int32_t kSeriesCapacity = 150000;

/// Single-precision values indexed from 1 (entry 0 unused) and their count.
/// Entries beyond the count hold 0.0 for the whole run.
struct Series {
  std::vector<float> values = std::vector<float>(kSeriesCapacity + 1, 0.0f);
  std::int32_t count = 0;

  float at(std::int64_t i) const { return values[static_cast<std::size_t>(i)]; }
  const float* data1() const { return values.data() + 1; }  ///< &x(1)
};

struct SeriesExtremes {
  float minimum = 0.0f;
  float maximum = 0.0f;
};

}  // namespace corrsum
