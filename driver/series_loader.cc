#include "driver/series_loader.h"

#include "textio/list_reader.h"
#include "textio/record_source.h"

namespace corrsum {

void loadSeries(FileConnection& seriesFile, std::int32_t requestedCount, ListWriter& console, Series& series) {
  RecordSource records = RecordSource::forFile(seriesFile.fd());
  ListReader reader(records, seriesFile.unitNumber(), seriesFile.name());
  std::int32_t loaded = requestedCount;
  for (std::int32_t i = 1; i <= requestedCount; ++i) {
    float& entry = series.values[static_cast<std::size_t>(i)];
    if (!reader.readReal(entry)) {
      loaded = i - 1;
      break;
    }
  }
  series.count = loaded;
  console.writeList({" Number of points in the input-Filename =", loaded});
  close(seriesFile);
  console.writeList({" ****START CALCULATIONS *****"});
}

SeriesExtremes findExtremes(const Series& series) {
  SeriesExtremes extremes{series.at(1), series.at(1)};
  for (std::int32_t i = 2; i <= series.count; ++i) {
    const float value = series.at(i);
    if (value < extremes.minimum) extremes.minimum = value;
    if (value > extremes.maximum) extremes.maximum = value;
  }
  return extremes;
}

}  // namespace corrsum
