// Reading a full series table: 150000 values, one per line, as the loader
// does, and the conversion of a single token on its own.
#include <benchmark/benchmark.h>

#include <string>

#include "textio/list_reader.h"
#include "textio/number_token.h"

namespace corrsum {
namespace {

std::string seriesText(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "  " + std::to_string(i % 977) + ".123456E-0" + std::to_string(i % 7) + "\r\n";
  return text;
}

void BM_ReadFullSeries(benchmark::State& state) {
  const std::string text = seriesText(150000);
  for (auto _ : state) {
    RecordSource source = RecordSource::fromText(text);
    ListReader reader(source, 7, "series");
    float value = 0.0f;
    int count = 0;
    while (reader.readReal(value)) ++count;
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadFullSeries)->Unit(benchmark::kMillisecond);

void BM_ConvertRealToken(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(convertReal("-0.1234567E+03"));
}
BENCHMARK(BM_ConvertRealToken);

}  // namespace
}  // namespace corrsum
