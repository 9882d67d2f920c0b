// Distance cells: the coarsest partition of the scaled squared distance that
// still tells every sampled bin of the correlation curve apart.
#pragma once

#include <cstdint>

#include "engine/correlation_curve.h"

namespace corrsum {

/// A pair in bin b (b = trunc(x) + 1 for the scaled distance x = s * Rat)
/// matters to the curve only through which sampled bins lie at or above b.
/// Every sampled bin in (P, 10 P] for P = 100, 1000, 10000, 100000 is a
/// multiple of the stride P / 100, so with q = b - 1 the cell
///
///   q            for q < 1000          (cells 0 .. 999)
///   q / 10 + 900 for q < 10000         (cells 1000 .. 1899)
///   q / 100 + 1800 for q < 100000      (cells 1900 .. 2799)
///   q / 1000 + 2700 for q < 1000000    (cells 2800 .. 3699)
///
/// (integer quotients) never straddles a sampled bin: the pairs counted up
/// to sampled bin S are exactly those in cells up to cellOfScaled(S - 1).
/// Every x of 1000000 and above, an infinity or a NaN, which lands in bins
/// no sample reads (binOf's headroom and its clamp), goes to the cell
/// kBeyondScaleCell. x = 12345.6 gives q = 12345 and cell 123 + 1800 = 1923;
/// x = 0.3 gives cell 0, the bin of distance 0.
inline constexpr std::int32_t kBeyondScaleCell = 3700;
inline constexpr std::int32_t kDistanceCells = kBeyondScaleCell + 1;

/// The cell of a scaled squared distance x >= 0 (or NaN), computed in double
/// in exactly this order so that the vectorised counter gives the same cell:
/// x clamped to 1000000 (NaN included), q = trunc(x) back in double, then
/// trunc(q * (1 / stride) + offset) with the reciprocal rounded to double.
/// Each reciprocal 1, 0.1, 0.01, 0.001 rounds upwards, so q * (1 / stride)
/// never falls below an exact integer quotient and stays below the next one.
inline std::int32_t cellOfScaled(double scaled) {
  const double x = scaled < 1000000.0 ? scaled : 1000000.0;
  const double q = static_cast<double>(static_cast<std::int32_t>(x));
  const double reciprocal = x < 1000.0 ? 1.0 : x < 10000.0 ? 0.1 : x < 100000.0 ? 0.01 : 0.001;
  const double offset = x < 1000.0 ? 0.0 : x < 10000.0 ? 900.0 : x < 100000.0 ? 1800.0 : 2700.0;
  return static_cast<std::int32_t>(q * reciprocal + offset);
}

/// The accumulated counts at the sampled bins from per-cell pair counts
/// (kDistanceCells entries): the count at sampled bin S is the sum of the
/// cells 0 .. cellOfScaled(S - 1). Cell kBeyondScaleCell takes no part.
SampledCounts sampledCountsFromCells(const std::int64_t* cellCounts);

}  // namespace corrsum
