// The correlation curve: accumulated pair counts at the sampled bins, and
// the rows of ln r and ln C(r) written for them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/pair_histogram.h"
#include "engine/sampling_schedule.h"

namespace corrsum {

/// The number of pairs whose bin is at most sampledBins()[i], for each
/// distinct sampled bin: all that a curve depends on.
using SampledCounts = std::array<std::int64_t, kDistinctSampledBins>;

/// Accumulates bins 1 to 1000000 of `histogram` in place (bin b becomes the
/// number of pairs in bins 1 .. b) and returns the counts at the sampled
/// bins.
SampledCounts accumulateAndSample(PairHistogram& histogram);

struct CurveRow {
  float lnR;
  float lnC;
};

/// The row of one visit with a non-zero count: n = count rounded to float;
/// r2 = bin / Rat in double, to float; q = n / pairCount in double (the
/// count of pairs taken exactly), to float; ln r = log(r2) / 2 and
/// ln C = log(q), each logarithm in double through checkedLog and rounded to
/// float. One pair in bin 250001 of Rat 1000000 makes bin 252000 the first
/// row: (-0.6891631, 0).
CurveRow curveRow(std::int32_t bin, std::int64_t count, PairCount pairCount, float rat);

/// Calls emit(row) for every visit of the schedule whose count is not zero,
/// in schedule order, each row built just before it is emitted, so a failed
/// logarithm leaves the rows before it written. The series 0, 0.5, 1 with
/// NDIM 1 gives 163 rows.
template <typename Emit>
void forEachCurveRow(const SampledCounts& counts, PairCount pairCount, float rat, Emit&& emit) {
  const auto& visits = samplingSchedule();
  const auto& index = visitSampleIndex();
  for (int v = 0; v < kScheduleVisits; ++v) {
    const std::int64_t count = counts[static_cast<std::size_t>(index[v])];
    if (count != 0) emit(curveRow(visits[v], count, pairCount, rat));
  }
}

}  // namespace corrsum
