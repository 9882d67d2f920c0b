// The sampling schedule of the correlation curve: 1260 visits of 1243
// distinct bins, spread evenly on a logarithmic scale of squared distance.
#pragma once

#include <array>
#include <cstdint>

namespace corrsum {

inline constexpr int kScheduleVisits = 1260;
inline constexpr int kDistinctSampledBins = 1243;

/// Bins 1 to 100, then for each decade P = 100, 1000, 10000, 100000 with
/// stride s = P / 100 and mantissa k = 1 .. 9, the bins from k P to (k + 1) P
/// inclusive in steps of k s: 290 visits a decade. Bin 100 and each decade's
/// 2P, 3P, 5P and 6P are visited twice in a row; the last visit is 999000.
const std::array<std::int32_t, kScheduleVisits>& samplingSchedule();

/// The distinct visited bins in increasing order.
const std::array<std::int32_t, kDistinctSampledBins>& sampledBins();

/// For each visit, the index of its bin in sampledBins().
const std::array<std::int16_t, kScheduleVisits>& visitSampleIndex();

}  // namespace corrsum
