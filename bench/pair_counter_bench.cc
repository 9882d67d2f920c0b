// Pairs per second of the counters on the same series in the same run:
// the plain loop in partner blocks T wide (the baseline), the reference
// counter, and the fast counter on one core and on every core; the one-pass
// multi-dimension run against the same jobs one after another; and whole
// runs of the program.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/fast_pair_counter.h"
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

constexpr std::int32_t kBenchLength = 20000;

// The plain loop with T-wide partner blocks: a table of T accumulators,
// components outer, partners of the block inner, then one increment a pair.
// The baseline the fast counter is measured against.
PairCount countPairsInBlocks(const Series& series, std::int32_t m, std::int32_t t, const DistanceScale& scale,
                             PairHistogram& histogram) {
  std::array<float, 50> reference{};
  std::array<double, 500> accumulator{};
  const std::int64_t last = lastPairedVector(series.count, m, t);
  const std::int64_t vectors = last + 1;
  PairCount pairs = 0;
  for (std::int64_t j = 1; j <= vectors; ++j) {
    for (std::int32_t k = 0; k < m; ++k) reference[static_cast<std::size_t>(k)] = series.at(j + k * t);
    pairs += std::max<std::int64_t>(last - j, 0);
    for (std::int64_t i0 = j + 1; i0 <= last; i0 += t) {
      const std::int64_t width = std::min<std::int64_t>(t, last - i0 + 1);
      for (std::int64_t l = 0; l < width; ++l) accumulator[static_cast<std::size_t>(l)] = 0.0;
      for (std::int32_t k = 0; k < m; ++k)
        for (std::int64_t l = 0; l < width; ++l) {
          const double d = static_cast<double>(series.at(i0 + l + static_cast<std::int64_t>(k) * t)) -
                           static_cast<double>(reference[static_cast<std::size_t>(k)]);
          accumulator[static_cast<std::size_t>(l)] = d * d + accumulator[static_cast<std::size_t>(l)];
        }
      for (std::int64_t l = 0; l < width; ++l)
        ++histogram.bins[static_cast<std::size_t>(binOf(accumulator[static_cast<std::size_t>(l)], scale.rat))];
    }
  }
  return pairs;
}

void reportPairs(benchmark::State& state, PairCount pairsPerIteration) {
  state.counters["pairs/s"] = benchmark::Counter(
      static_cast<double>(pairsPerIteration) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// A histogram counter: range(0) is m, range(1) is T.
using HistogramCounter = PairCount (*)(const Series&, std::int32_t, std::int32_t, const DistanceScale&,
                                       PairHistogram&);

void measureHistogramCounter(benchmark::State& state, HistogramCounter count) {
  const auto m = static_cast<std::int32_t>(state.range(0));
  const auto t = static_cast<std::int32_t>(state.range(1));
  const Series series = henonSeries(kBenchLength);
  const DistanceScale scale = prepareScale({-1.3f, 1.3f}, m, 0);
  PairHistogram histogram;
  PairCount pairs = 0;
  for (auto _ : state) {
    pairs = count(series, m, t, scale, histogram);
    benchmark::DoNotOptimize(histogram.bins.data());
  }
  reportPairs(state, pairs);
}

void BM_BlockedPlainLoop(benchmark::State& state) { measureHistogramCounter(state, countPairsInBlocks); }

void BM_ReferenceCounter(benchmark::State& state) { measureHistogramCounter(state, countPairsReference); }

// range(2): threads, 0 for every available core.
void BM_FastCounter(benchmark::State& state) {
  const auto m = static_cast<std::int32_t>(state.range(0));
  const auto t = static_cast<std::int32_t>(state.range(1));
  const Series series = henonSeries(kBenchLength);
  FastPairCounter counter(static_cast<int>(state.range(2)));
  std::vector<CountingJob> jobs{{m, prepareScale({-1.3f, 1.3f}, m, 0)}};
  for (auto _ : state) {
    counter.count(series, t, jobs);
    benchmark::DoNotOptimize(jobs[0].counts.data());
  }
  reportPairs(state, jobs[0].pairs);
  state.SetLabel(std::string(nameOf(counter.instructionSet())) + ", " + std::to_string(counter.threads()) +
                 " threads");
}

// NDIM 1 to 10 with T = 1: all ten jobs in one pass, or one pass per job.
void BM_TenDimensions(benchmark::State& state) {
  const bool onePass = state.range(0) != 0;
  const Series series = henonSeries(kBenchLength);
  FastPairCounter counter;
  std::vector<CountingJob> jobs;
  for (std::int32_t m = 1; m <= 10; ++m) jobs.push_back({m, prepareScale({-1.3f, 1.3f}, m, 0)});
  for (auto _ : state) {
    if (onePass) {
      counter.count(series, 1, jobs);
    } else {
      for (std::size_t j = 0; j < jobs.size(); ++j) counter.count(series, 1, std::span(jobs).subspan(j, 1));
    }
    benchmark::DoNotOptimize(jobs.data());
  }
  PairCount pairs = 0;
  for (const CountingJob& job : jobs) pairs += job.pairs;
  reportPairs(state, pairs);
  state.SetLabel(onePass ? "one pass" : "job by job");
}

// The program itself on a 150000-value series: dialogue, loading, the
// counting of NDIM 2 and the curve file, as a user runs it.
void BM_WholeProgram(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / ("corrsum-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  {
    const Series series = henonSeries(kSeriesCapacity);
    std::ofstream out(dir / "s.tms");
    char line[32];
    for (std::int32_t i = 1; i <= series.count; ++i) {
      std::snprintf(line, sizeof line, "%.7f\n", static_cast<double>(series.at(i)));
      out << line;
    }
    std::ofstream answers(dir / "answers");
    answers << "s.tms\n150000\n1\n0\n1\n" << state.range(0) << "\nc.dat\n";
  }
  const std::string command =
      "cd '" + dir.string() + "' && '" CORRSUM_EXECUTABLE "' < answers > console.txt 2> errors.txt";
  for (auto _ : state) {
    std::filesystem::remove(dir / "c.dat");
    if (std::system(command.c_str()) != 0) state.SkipWithError("the run failed");
  }
  reportPairs(state, pairsOf(lastPairedVector(kSeriesCapacity, static_cast<std::int32_t>(state.range(0)), 1)));
  std::filesystem::remove_all(dir);
}

void counterArguments(benchmark::internal::Benchmark* b) {
  for (int m : {2, 5, 10})
    for (int t : {1, 10}) b->Args({m, t});
}

void fastArguments(benchmark::internal::Benchmark* b) {
  for (int m : {2, 5, 10})
    for (int t : {1, 10})
      for (int threads : {1, 0}) b->Args({m, t, threads});
}

BENCHMARK(BM_BlockedPlainLoop)->Apply(counterArguments)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ReferenceCounter)->Apply(counterArguments)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_FastCounter)->Apply(fastArguments)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TenDimensions)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WholeProgram)->Arg(2)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace corrsum
