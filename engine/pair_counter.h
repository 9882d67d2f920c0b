// The reference pair counter: every pair of delay vectors, counted plainly.
#pragma once

#include <cstdint>

#include "engine/distance_scale.h"
#include "engine/pair_histogram.h"
#include "engine/series.h"

namespace corrsum {

/// The last delay vector that takes part in a pair: L = n - (m - 1) T - 1,
/// in 64 bits, and 0 when that is not positive. Vector j is
/// (x(j), x(j + T), ..., x(j + (m - 1) T)); the vector n - (m - 1) T itself
/// never takes part. n = 10, m = 2, T = 3 gives L = 6.
std::int64_t lastPairedVector(std::int32_t n, std::int32_t m, std::int32_t t);

/// Pairs among vectors 1 to L: L (L - 1) / 2, or 0.
PairCount pairsOf(std::int64_t lastVector);

/// Counts every pair (j, i), 1 <= j < i <= L, into `histogram` (which the
/// caller has cleared) and returns the number of pairs. A pair's squared
/// distance is the sum over k = 0 .. m-1, in increasing k and from 0.0, of
/// (x(i + kT) - x(j + kT))^2, each difference, square and sum rounded once
/// to double; its bin is binOf(sum, Rat). The straightforward loop that
/// every faster counter is checked against. Needs a scale that forms bins
/// whenever there are pairs. No I/O.
PairCount countPairsReference(const Series& series, std::int32_t m, std::int32_t t, const DistanceScale& scale,
                              PairHistogram& histogram);

}  // namespace corrsum
