// Pairs per second of the reference counter.
#include <benchmark/benchmark.h>

#include <cmath>

#include "engine/pair_counter.h"

namespace corrsum {
namespace {

Series henonSeries(std::int32_t n) {
  Series series;
  double x = 0.1, y = 0.0;
  for (int i = 0; i < 1000; ++i) {
    const double next = 1.0 - 1.4 * x * x + y;
    y = 0.3 * x;
    x = next;
  }
  for (std::int32_t i = 1; i <= n; ++i) {
    const double next = 1.0 - 1.4 * x * x + y;
    y = 0.3 * x;
    x = next;
    series.values[static_cast<std::size_t>(i)] = static_cast<float>(x);
  }
  series.count = n;
  return series;
}

void BM_ReferenceCounter(benchmark::State& state) {
  const auto m = static_cast<std::int32_t>(state.range(0));
  const auto t = static_cast<std::int32_t>(state.range(1));
  const Series series = henonSeries(static_cast<std::int32_t>(state.range(2)));
  const DistanceScale scale = prepareScale({-1.3f, 1.3f}, m, 0);
  PairHistogram histogram;
  PairCount pairs = 0;
  for (auto _ : state) {
    pairs = countPairsReference(series, m, t, scale, histogram);
    benchmark::DoNotOptimize(histogram.bins.data());
  }
  state.counters["pairs/s"] = benchmark::Counter(static_cast<double>(pairs) * static_cast<double>(state.iterations()),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReferenceCounter)->Args({2, 1, 20000})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corrsum
