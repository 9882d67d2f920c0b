#include "driver/dialogue.h"

#include <string>

#include "engine/series.h"
#include "failure/run_failure.h"
#include "textio/line_reader.h"
#include "textio/list_reader.h"

namespace corrsum {
namespace {

// The tables are sized to the run, so only the values that cannot describe
// a delay embedding are refused, and a count the series table cannot hold.
void refuseBelowOne(std::int32_t value, FailureCode code) {
  if (value < 1) endRun(RunFailure{code, value, {}});
}

}  // namespace

FileConnection runDialogue(ListWriter& console, RecordSource& answers, RunParameters& parameters) {
  const std::string consoleName(kConsoleInputName);
  ListReader numbers(answers, kConsoleInputUnit, consoleName);
  LineReader lines(answers, kConsoleInputUnit, consoleName);

  console.writeList({" Enter INPUT FileName (----.TMS)"});
  lines.readLine(parameters.seriesName);
  FileConnection seriesFile = openExisting(parameters.seriesName);

  console.writeList({" Enter the number of points in the INPUT File"});
  numbers.readInteger(parameters.requestedCount);
  if (parameters.requestedCount > kSeriesCapacity)
    endRun(RunFailure{failures::pointCountOutOfRange, parameters.requestedCount, {}});

  console.writeList({" Enter the Decorrelation Time T=?"});
  numbers.readInteger(parameters.decorrelationTime);
  refuseBelowOne(parameters.decorrelationTime, failures::decorrelationTimeOutOfRange);

  console.writeList({" Extend the dynamic range (1-YES 0-NO) ?"});
  console.writeList({" 1-YES is recommended for very small numbers"});
  numbers.readInteger(parameters.rangeFlag);

  console.writeList({" Enter the NUMBER of Embed.-Dimens. to be used"});
  numbers.readInteger(parameters.jobCount);

  for (std::int32_t i = 1; i <= parameters.jobCount; ++i) {
    DimensionJob& job = parameters.jobs.emplace_back();
    console.writeList({" Enter the ", i, "-th Embeding dimension ?"});
    numbers.readInteger(job.ndim);
    refuseBelowOne(job.ndim, failures::dimensionOutOfRange);
    console.writeList({" Enter the ", i, "-th OUTPUT FileName (----.dat)"});
    lines.readLine(job.outputName);
  }
  return seriesFile;
}

}  // namespace corrsum
