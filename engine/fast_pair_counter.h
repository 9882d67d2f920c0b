// The fast pair counter: every pair of delay vectors of one or several jobs
// in one pass, vectorised across partners and spread over every core the
// process may run on, with the same counts as countPairsReference.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "engine/correlation_curve.h"
#include "engine/distance_scale.h"
#include "engine/pair_histogram.h"
#include "engine/series.h"

namespace corrsum {

/// The vector width the counter runs with, chosen at run time from what the
/// processor offers, so one build runs on any x86-64.
enum class InstructionSet { sse2, avx2, avx512 };

/// The widest instruction set the processor supports.
InstructionSet bestInstructionSet();
bool isSupported(InstructionSet set);
std::string_view nameOf(InstructionSet set);

/// The number of processors in the process's affinity mask (taskset and
/// container limits included), at least 1.
int availableCores();

/// One job of a pass: its dimension and scale in, its curve counts out.
struct CountingJob {
  std::int32_t m = 0;
  DistanceScale scale;
  SampledCounts counts{};  ///< accumulated counts at the sampled bins
  PairCount pairs = 0;     ///< L (L - 1) / 2
};

/// Counts pairs exactly as countPairsReference does: for each pair the sum
/// over k increasing from 0.0 of (double(y) - double(r))^2, each product and
/// sum rounded once to double (lanes of a vector are separate pairs, so the
/// vector width never changes a rounding), and the bin of binOf. Only the
/// counts at the sampled bins are kept (see sampled_intervals.h).
///
/// All jobs of one call share T: the sum after m terms of a pair in a
/// larger dimension is exactly the pair's sum in dimension m, so one pass
/// over the pairs of the smallest dimension fills every job, each with its
/// own L and Rat. With jobs m = 1 and m = 3 on n = 10, T = 2, the pass
/// runs over the pairs of L = 9 and stops adding components for a partner
/// once it lies beyond L = 5 of m = 3.
///
/// Pairs are taken by lag h = i - j: the square (x(p + h + kT) - x(p + kT))^2
/// is shared by every pair of that lag that uses position p + kT, so it is
/// formed once and each pair adds its m squares in increasing k. Lags are
/// handed to the threads in chunks of about equal work; each thread counts
/// into tables of its own, merged after the pass, so the result never
/// depends on the split. Tables are sized by the first call and reused; no
/// I/O, and the threads write nothing to the console.
class FastPairCounter {
 public:
  /// threads 0: one per available core; instructionSet: the best supported.
  explicit FastPairCounter(int threads = 0);
  FastPairCounter(int threads, InstructionSet instructionSet);
  ~FastPairCounter();
  FastPairCounter(const FastPairCounter&) = delete;
  FastPairCounter& operator=(const FastPairCounter&) = delete;

  /// Fills counts and pairs of every job. A job without pairs gets zero
  /// counts; a job with pairs needs a scale that forms bins (one that does
  /// not gets zero counts as well: its run reports it before counting).
  void count(const Series& series, std::int32_t t, std::span<CountingJob> jobs);

  int threads() const { return threads_; }
  InstructionSet instructionSet() const { return instructionSet_; }

 private:
  struct Workspace;
  int threads_;
  InstructionSet instructionSet_;
  std::unique_ptr<Workspace> workspace_;
};

/// The cells (see cellOfScaled) of a batch of scaled distances as the
/// vectorised counter forms them with `instructionSet`; for tests of that
/// path against cellOfScaled. The batch length is any.
void cellsOfScaledVectorised(std::span<const double> scaled, std::span<std::int32_t> cells,
                             InstructionSet instructionSet);

}  // namespace corrsum
