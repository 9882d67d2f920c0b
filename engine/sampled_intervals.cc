#include "engine/sampled_intervals.h"

namespace corrsum {

SampledCounts sampledCountsFromCells(const std::int64_t* cellCounts) {
  SampledCounts counts{};
  const auto& sampled = sampledBins();
  std::int64_t running = 0;
  std::int32_t nextCell = 0;
  for (int i = 0; i < kDistinctSampledBins; ++i) {
    const std::int32_t lastCell = cellOfScaled(static_cast<double>(sampled[static_cast<std::size_t>(i)] - 1));
    for (; nextCell <= lastCell; ++nextCell) running += cellCounts[nextCell];
    counts[static_cast<std::size_t>(i)] = running;
  }
  return counts;
}

}  // namespace corrsum
