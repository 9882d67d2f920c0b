#include "engine/pair_counter.h"

namespace corrsum {

std::int64_t lastPairedVector(std::int32_t n, std::int32_t m, std::int32_t t) {
  const std::int64_t vectors = static_cast<std::int64_t>(n) - (static_cast<std::int64_t>(m) - 1) * t;
  return vectors > 1 ? vectors - 1 : 0;
}

PairCount pairsOf(std::int64_t lastVector) { return lastVector >= 1 ? lastVector * (lastVector - 1) / 2 : 0; }

PairCount countPairsReference(const Series& series, std::int32_t m, std::int32_t t, const DistanceScale& scale,
                              PairHistogram& histogram) {
  const std::int64_t last = lastPairedVector(series.count, m, t);
  const float rat = scale.rat;
  for (std::int64_t j = 1; j < last; ++j) {
    for (std::int64_t i = j + 1; i <= last; ++i) {
      double sum = 0.0;
      for (std::int64_t k = 0; k < m; ++k) {
        const double difference = static_cast<double>(series.at(i + k * t)) - static_cast<double>(series.at(j + k * t));
        sum = difference * difference + sum;
      }
      ++histogram.bins[static_cast<std::size_t>(binOf(sum, rat))];
    }
  }
  return pairsOf(last);
}

}  // namespace corrsum
