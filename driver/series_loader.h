// The series loader: the values of the series file and their extremes.
#pragma once

#include <cstdint>

#include "engine/series.h"
#include "textio/file_connection.h"
#include "textio/list_writer.h"

namespace corrsum {

/// Reads up to `requestedCount` values, one per line, with readReal; the end
/// of the file or a line that is exactly 0x1A ends the series early without
/// a report, and a null value counts as read (its entry stays 0.0). Then
/// writes the count record (the requested count itself when it is 0 or
/// less), closes the file and writes the start record.
void loadSeries(FileConnection& seriesFile, std::int32_t requestedCount, ListWriter& console, Series& series);

/// Minimum and maximum of x(1) .. x(n), starting from x(1); on equality the
/// value already held stays. For n <= 0 both are x(1), which is 0.0.
SeriesExtremes findExtremes(const Series& series);

}  // namespace corrsum
