#include "driver/run_driver.h"

#include <unistd.h>

#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "driver/dialogue.h"
#include "driver/series_loader.h"
#include "engine/correlation_curve.h"
#include "engine/distance_scale.h"
#include "engine/fast_pair_counter.h"
#include "engine/pair_counter.h"
#include "engine/pair_histogram.h"
#include "failure/console_events.h"
#include "failure/run_end.h"
#include "failure/run_failure.h"

namespace corrsum {
namespace {

// Everything the run owns, sized once before the first job.
struct RunTables {
  RunParameters parameters;
  Series series;
  SeriesExtremes extremes;
  /// Reference engine only.
  PairHistogram histogram;
  /// Fast engine: the counts of every job, filled by one pass over the
  /// pairs at the first job that has pairs to count.
  std::vector<CountingJob> counted;
  bool counting = false;
};

// CORRSUM_ENGINE=reference makes every job count its pairs with the plain
// reference counter. A testing aid, read here only: the whole-program tests
// compare the curve files of both engines.
bool referenceEngineRequested() {
  const char* engine = std::getenv("CORRSUM_ENGINE");
  return engine != nullptr && std::string_view(engine) == "reference";
}

// Counts, in one pass, every job from `first` on that has pairs and a scale
// that forms bins (they all share T). The others are left to their own
// turn: an empty curve, or the report of a series without spread. Nothing
// is printed or created here, so the console and the files of the run stay
// those of a job-by-job run; only the counting of later jobs moves earlier.
void countRemainingJobs(RunTables& tables, std::size_t first) {
  static FastPairCounter counter;
  const auto& jobs = tables.parameters.jobs;
  tables.counted.assign(jobs.size(), CountingJob{});
  for (std::size_t j = first; j < jobs.size(); ++j) {
    tables.counted[j].m = jobs[j].ndim;
    tables.counted[j].scale = prepareScale(tables.extremes, jobs[j].ndim, tables.parameters.rangeFlag);
  }
  counter.count(tables.series, tables.parameters.decorrelationTime, std::span(tables.counted).subspan(first));
  tables.counting = true;
}

void writeBanner(ListWriter& console, const DimensionJob& job) {
  console.writeSeparator();
  console.writeList({"******* NDIM=", job.ndim, " **********"});
  console.writeList({"******* Filename=", job.outputName.view(), " ***"});
  console.writeSeparator();
}

DistanceScale reportScale(ListWriter& console, const SeriesExtremes& extremes, const DimensionJob& job,
                          std::int32_t rangeFlag) {
  const DistanceScale scale = prepareScale(extremes, job.ndim, rangeFlag);
  console.writeList({" Minimum number in the time-series= ", extremes.minimum});
  console.writeList({" Maximum number in the time-series= ", extremes.maximum});
  console.writeList({" R-Maximum = ", scale.rMaximum});
  console.writeList({" Rat=", scale.rat});
  return scale;
}

void runJob(ListWriter& console, RunTables& tables, std::size_t index, bool referenceEngine) {
  const DimensionJob& job = tables.parameters.jobs[index];
  FileConnection curveFile = createNew(job.outputName);
  writeBanner(console, job);
  const DistanceScale scale = reportScale(console, tables.extremes, job, tables.parameters.rangeFlag);

  const std::int32_t t = tables.parameters.decorrelationTime;
  PairCount pairCount = pairsOf(lastPairedVector(tables.series.count, job.ndim, t));
  if (pairCount > 0 && !scale.formsBins())
    endRun(RunFailure{failures::seriesWithoutSpread, curveFile.unitNumber(), curveFile.name()});
  SampledCounts counts{};
  if (referenceEngine) {
    tables.histogram.clear();
    pairCount = countPairsReference(tables.series, job.ndim, t, scale, tables.histogram);
    counts = accumulateAndSample(tables.histogram);
  } else if (pairCount > 0) {
    if (!tables.counting) countRemainingJobs(tables, index);
    counts = tables.counted[index].counts;
  }

  ListWriter curve(curveFile);
  forEachCurveRow(counts, pairCount, scale.rat, [&](const CurveRow& row) { curve.writeList({row.lnR, row.lnC}); });
  close(curveFile);
}

}  // namespace

void runProgram() {
  installConsoleEventHandler();
  ListWriter console(consoleOutput());
  RecordSource answers = RecordSource::forConsole(STDIN_FILENO);
  static RunTables tables;

  FileConnection seriesFile = runDialogue(console, answers, tables.parameters);
  loadSeries(seriesFile, tables.parameters.requestedCount, console, tables.series);
  tables.extremes = findExtremes(tables.series);

  const bool referenceEngine = referenceEngineRequested();
  for (std::size_t index = 0; index < tables.parameters.jobs.size(); ++index)
    runJob(console, tables, index, referenceEngine);
  endRunNormally();
}

}  // namespace corrsum
