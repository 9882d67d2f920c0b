// PairHistogram and PairCount.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/distance_scale.h"

namespace corrsum {

/// The number of pairs counted in one job, the normaliser of C(r). 64-bit:
/// a 150000-value series has about 1.1e10 pairs.
using PairCount = std::int64_t;

/// 1000100 counters indexed from 1 (entry 0 unused). 64-bit for the same
/// reason as PairCount.
struct PairHistogram {
  std::vector<std::int64_t> bins = std::vector<std::int64_t>(kHistogramBins + 1, 0);

  /// Bins 1 to 1000000 to zero; nothing reads the headroom.
  void clear();
};

}  // namespace corrsum
