#include "driver/run_driver.h"

#include <unistd.h>

#include "driver/dialogue.h"
#include "driver/series_loader.h"
#include "engine/correlation_curve.h"
#include "engine/distance_scale.h"
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
  PairHistogram histogram;
};

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

void runJob(ListWriter& console, RunTables& tables, const DimensionJob& job) {
  FileConnection curveFile = createNew(job.outputName);
  writeBanner(console, job);
  const DistanceScale scale = reportScale(console, tables.extremes, job, tables.parameters.rangeFlag);
  tables.histogram.clear();

  const std::int32_t t = tables.parameters.decorrelationTime;
  if (pairsOf(lastPairedVector(tables.series.count, job.ndim, t)) > 0 && !scale.formsBins())
    endRun(RunFailure{failures::seriesWithoutSpread, curveFile.unitNumber(), curveFile.name()});
  const PairCount pairCount = countPairsReference(tables.series, job.ndim, t, scale, tables.histogram);

  const SampledCounts counts = accumulateAndSample(tables.histogram);
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

  for (const DimensionJob& job : tables.parameters.jobs) runJob(console, tables, job);
  endRunNormally();
}

}  // namespace corrsum
