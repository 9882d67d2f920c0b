#include "engine/fast_pair_counter.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <type_traits>
#include <vector>

#include "engine/pair_counter.h"
#include "engine/sampled_intervals.h"

namespace corrsum {
namespace {

// Cell tables are spaced so that a table of each copy starts on its own
// cache lines; the cell after the last real one takes the lanes of a tile
// that lie beyond a job's last partner.
constexpr int kCellStride = 3712;
constexpr std::int32_t kDiscardCell = kDistanceCells;
static_assert(kDiscardCell < kCellStride);

// Lane l counts into copy l % kCopies of a level's cell table (the copies
// are summed when the counters are flushed). Neighbouring partners rarely
// share a cell, so separate copies bought no speed with 128-partner tiles
// and only doubled the tables the levels of a pass keep in cache: one copy.
constexpr int kCopies = 1;

// Tile of partners: this many vectors of accumulators stay in registers
// while the components run (16 of the 32 registers of AVX-512, four of
// the 16 of the narrower sets).
constexpr int kWidestUnroll = 16;
constexpr int kWidestTile = 8 * kWidestUnroll;

// Cell counters are 32-bit to keep the tables in the first-level cache; a
// thread flushes them into its 64-bit totals before they could wrap.
constexpr std::uint64_t kFlushLimit = 4'000'000'000u;

struct Level {
  std::int32_t m = 0;
  double rat = 0.0;
  std::int64_t last = 0;  // L of this dimension
};

struct ThreadTables {
  std::vector<std::uint32_t> cells;  // level-major: kCopies tables of kCellStride each
  std::vector<std::int64_t> totals;  // level-major: kDistanceCells each
  std::vector<double> strip;         // squares of one block of references at one lag
  std::uint64_t pending = 0;         // pairs counted since the last flush

  void flush(int levelCount) {
    for (int g = 0; g < levelCount; ++g) {
      std::uint32_t* table = cells.data() + static_cast<std::size_t>(g) * kCopies * kCellStride;
      std::int64_t* total = totals.data() + static_cast<std::size_t>(g) * kDistanceCells;
      for (int c = 0; c < kCopies; ++c)
        for (int cell = 0; cell < kDistanceCells; ++cell) total[cell] += table[c * kCellStride + cell];
      std::fill(table, table + kCopies * kCellStride, 0u);
    }
    pending = 0;
  }
};

struct PassPlan {
  // x[i] = x(i) widened to double (exactly), padded with zeros past the
  // series: the hot loop then loads its operands without converting them.
  const double* x = nullptr;
  std::int64_t t = 0;
  std::int64_t n = 0;
  std::int64_t block = 0;  // references a strip of squares serves
  const Level* levels = nullptr;  // by increasing m, so by decreasing L
  int levelCount = 0;
  const std::int64_t* chunkStarts = nullptr;  // chunk c: lags chunkStarts[c] .. chunkStarts[c + 1] - 1
  int chunkCount = 0;
  std::atomic<int>* nextChunk = nullptr;
};

// Vector types of each width: lanes of doubles and of the integers of
// their cells. Eight lanes use 64-bit integers: the conversions between
// eight doubles and eight int32 are split in halves by the compiler, those
// to int64 are single instructions.
template <int kLanes>
struct VectorTypes;
template <>
struct VectorTypes<8> {
  typedef double D __attribute__((vector_size(64)));
  typedef std::int64_t I __attribute__((vector_size(64)));
};
template <>
struct VectorTypes<4> {
  typedef double D __attribute__((vector_size(32)));
  typedef std::int32_t I __attribute__((vector_size(16)));
};
template <>
struct VectorTypes<2> {
  typedef double D __attribute__((vector_size(16)));
  typedef std::int32_t I __attribute__((vector_size(8)));
};

template <int kLanes>
struct Lanes {
  using VD = typename VectorTypes<kLanes>::D;
  using VI = typename VectorTypes<kLanes>::I;
  using Index = std::remove_cvref_t<decltype(VI{}[0])>;
  static constexpr int kUnroll = kLanes == 8 ? kWidestUnroll : 4;
  static_assert(kWidestTile % (kLanes * kUnroll) == 0);

  // trunc(x) in double for 0 <= x <= 1000000: one rounding instruction
  // where the vector width has it (written out, as only the functions of
  // that width may use it), else the round trip through integers.
  [[gnu::always_inline]] static inline void truncate(const VD& x, VD& q) {
    if constexpr (kLanes == 8) {
      asm("vrndscalepd $11, %1, %0" : "=v"(q) : "v"(x));
    } else if constexpr (kLanes == 4) {
      asm("vroundpd $11, %1, %0" : "=x"(q) : "x"(x));
    } else {
      q = __builtin_convertvector(__builtin_convertvector(x, VI), VD);
    }
  }

  // cellOfScaled, lane by lane, in the same operations, plus a whole number
  // of cells `bias` (lane by lane, below 2^20) added to the offset: the sum
  // q * reciprocal lies at least 0.0009 below the next integer, so adding a
  // larger integer never carries it across one, and trunc of the biased sum
  // is the cell plus the bias exactly.
  [[gnu::always_inline]] static inline void cellsOf(const VD& scaled, const VD& bias, VI& cells) {
    const VD top = (VD{} + 1000000.0);
    VD x;
    if constexpr (kLanes == 8) {
      // The same choice in one instruction (NaN takes top, as below).
      asm("vminpd %2, %1, %0" : "=v"(x) : "v"(scaled), "v"(top));
    } else {
      x = scaled < top ? scaled : top;
    }
    VD q;
    truncate(x, q);
    const VD reciprocal = x < (VD{} + 1000.0)    ? (VD{} + 1.0)
                          : x < (VD{} + 10000.0) ? (VD{} + 0.1)
                          : x < (VD{} + 100000.0) ? (VD{} + 0.01)
                                                : (VD{} + 0.001);
    const VD offset = x < (VD{} + 1000.0)    ? bias
                      : x < (VD{} + 10000.0) ? bias + 900.0
                      : x < (VD{} + 100000.0) ? bias + 1800.0
                                            : bias + 2700.0;
    cells = __builtin_convertvector(q * reciprocal + offset, VI);
  }

  [[gnu::always_inline]] static inline void load(const double* p, VD& out) { std::memcpy(&out, p, sizeof out); }

  [[gnu::always_inline]] static inline void cellBatch(const double* scaled, std::int32_t* cells, std::size_t n) {
    std::size_t i = 0;
    for (; i + kLanes <= n; i += kLanes) {
      VD v;
      std::memcpy(&v, scaled + i, sizeof v);
      VI c;
      cellsOf(v, VD{}, c);
      for (int l = 0; l < kLanes; ++l) cells[i + static_cast<std::size_t>(l)] = static_cast<std::int32_t>(c[l]);
    }
    if (i < n) {
      double rest[kLanes] = {};
      std::copy(scaled + i, scaled + n, rest);
      VD v;
      std::memcpy(&v, rest, sizeof v);
      VI c;
      cellsOf(v, VD{}, c);
      for (std::size_t l = 0; l < n - i; ++l) cells[i + l] = static_cast<std::int32_t>(c[l]);
    }
  }

  // Bins one tile of accumulated sums for one level: each lane's cell is
  // counted in the copy of its lane; lanes past the level's last partner
  // go to the discard cell. The lanes carry their copy in their cell index
  // table, so each increment is one instruction.
  [[gnu::always_inline]] static inline void countTile(const VD* sums, double rat, std::int64_t remaining,
                                                      std::uint32_t* table) {
    VD copyBias{};
    VI laneIndex{};
    for (int l = 0; l < kLanes; ++l) {
      copyBias[l] = static_cast<double>((l % kCopies) * kCellStride);
      laneIndex[l] = l;
    }
    const VD scale = (VD{} + rat);
    // One register for the table, so each increment addresses it with the
    // cell as a scaled index and no addition of its own.
    asm("" : "+r"(table));
#pragma GCC unroll 16
    for (int u = 0; u < kUnroll; ++u) {
      VI cells;
      cellsOf(sums[u] * scale, copyBias, cells);
      if (remaining < kLanes * kUnroll - 1) {
        const VI valid = laneIndex + u * kLanes <= (VI{} + static_cast<Index>(remaining));
        cells = valid ? cells : (VI{} + kDiscardCell);
      }
      if constexpr (kLanes == 8) {
        // Eight lanes are extracted in registers: a wide store read back
        // lane by lane makes the first increments wait on its forwarding.
#pragma GCC unroll 16
        for (int l = 0; l < kLanes; ++l) ++table[cells[l]];
      } else {
        // Narrower lanes are read back from memory: loads are cheaper than
        // the shuffles the compiler would extract them with.
        alignas(64) Index stored[kLanes];
        std::memcpy(stored, &cells, sizeof cells);
        const Index* indices = stored;
        asm("" : "+r"(indices));
#pragma GCC unroll 16
        for (int l = 0; l < kLanes; ++l) ++table[indices[l]];
      }
    }
  }

  // Pairs are taken by lag: for lag h, the pairs (j, j + h) for j = 1 ..
  // L - h. Their component differences x(p + h) - x(p) and squares are the
  // same for every pair that uses position p, so each block of references
  // first fills a strip of squares, and each pair then only adds its m
  // squares in increasing k, from the first: exactly the reference's sum.
  [[gnu::always_inline]] static inline void countChunks(const PassPlan& plan, ThreadTables& tables) {
    constexpr int kTile = kLanes * kUnroll;
    const double* x = plan.x;
    const std::int64_t t = plan.t;
    const std::int64_t n = plan.n;
    const Level* levels = plan.levels;
    const std::int64_t widest = levels[0].last;
    const std::int64_t block = plan.block;
    double* strip = tables.strip.data();
    for (;;) {
      const int chunk = plan.nextChunk->fetch_add(1, std::memory_order_relaxed);
      if (chunk >= plan.chunkCount) break;
      for (std::int64_t h = plan.chunkStarts[chunk]; h < plan.chunkStarts[chunk + 1]; ++h) {
        int active = plan.levelCount;
        while (active > 0 && levels[active - 1].last <= h) --active;
        if (active == 0) continue;
        const std::int64_t lastReference = widest - h;
        const auto pairs = static_cast<std::uint64_t>(lastReference);
        if (tables.pending + pairs > kFlushLimit) tables.flush(plan.levelCount);
        tables.pending += pairs;

        for (std::int64_t j0 = 1; j0 <= lastReference; j0 += block) {
          while (levels[active - 1].last - h < j0) --active;
          // Squares for positions j0 .. stripEnd - 1: far enough for every
          // component of the block's tiles, and never past x(n - 1) plus
          // the padding (L + (m - 1) T = n - 1 for every dimension).
          const std::int64_t stripEnd =
              std::min(j0 + block + (levels[active - 1].m - 1) * t + kTile, n + kTile - h);
#pragma GCC unroll 4
          for (std::int64_t p = j0; p < stripEnd; p += kLanes) {
            VD y, r;
            load(x + p + h, y);
            load(x + p, r);
            const VD d = y - r;
            const VD square = d * d;
            std::memcpy(strip + (p - j0), &square, sizeof square);
          }
          const std::int64_t blockEnd = std::min(j0 + block - 1, lastReference);
          for (std::int64_t i0 = j0; i0 <= blockEnd; i0 += kTile) {
            while (levels[active - 1].last - h < i0) --active;
            const double* row = strip + (i0 - j0);
            VD sums[kUnroll];
#pragma GCC unroll 16
            for (int u = 0; u < kUnroll; ++u) load(row + u * kLanes, sums[u]);
            // Add components up to each active level's m in turn, and bin
            // the sums there for that level.
            std::int32_t k = 1;
            for (int g = 0; g < active; ++g) {
              for (; k < levels[g].m; ++k) {
                const double* component = row + k * t;
#pragma GCC unroll 16
                for (int u = 0; u < kUnroll; ++u) {
                  VD square;
                  load(component + u * kLanes, square);
                  sums[u] = square + sums[u];
                }
              }
              countTile(sums, levels[g].rat, levels[g].last - h - i0,
                        tables.cells.data() + static_cast<std::size_t>(g) * kCopies * kCellStride);
            }
          }
        }
      }
    }
    tables.flush(plan.levelCount);
  }
};

// One instantiation per instruction set. No fused multiply-add may appear:
// the targets name no FMA extension of their own, and contraction is off for
// the whole build.
[[gnu::target("avx512f,avx512dq,avx512vl,avx512bw,prefer-vector-width=512")]] void countChunksAvx512(const PassPlan& plan,
                                                                            ThreadTables& tables) {
  Lanes<8>::countChunks(plan, tables);
}
[[gnu::target("avx2")]] void countChunksAvx2(const PassPlan& plan, ThreadTables& tables) {
  Lanes<4>::countChunks(plan, tables);
}
void countChunksSse2(const PassPlan& plan, ThreadTables& tables) { Lanes<2>::countChunks(plan, tables); }

[[gnu::target("avx512f,avx512dq,avx512vl,avx512bw,prefer-vector-width=512")]] void cellBatchAvx512(const double* s, std::int32_t* c,
                                                                          std::size_t n) {
  Lanes<8>::cellBatch(s, c, n);
}
[[gnu::target("avx2")]] void cellBatchAvx2(const double* s, std::int32_t* c, std::size_t n) {
  Lanes<4>::cellBatch(s, c, n);
}
void cellBatchSse2(const double* s, std::int32_t* c, std::size_t n) { Lanes<2>::cellBatch(s, c, n); }

using ChunkCounter = void (*)(const PassPlan&, ThreadTables&);

ChunkCounter chunkCounterFor(InstructionSet set) {
  switch (set) {
    case InstructionSet::avx512:
      return countChunksAvx512;
    case InstructionSet::avx2:
      return countChunksAvx2;
    case InstructionSet::sse2:
      break;
  }
  return countChunksSse2;
}

// Splits lags 1 .. L - 1 of the widest level into chunks of about equal
// work. Lag h costs, for each level, its L - h pairs there times the
// components that level adds plus the binning.
void planChunks(const std::vector<Level>& levels, int chunkTarget, std::vector<std::int64_t>& starts) {
  const std::int64_t lastReference = levels[0].last - 1;
  auto work = [&](std::int64_t j) {
    double w = 0.0;
    std::int32_t previousM = 0;
    for (const Level& level : levels) {
      if (level.last > j) w += static_cast<double>(level.last - j) * (level.m - previousM + 2);
      previousM = level.m;
    }
    return w;
  };
  double total = 0.0;
  for (std::int64_t j = 1; j <= lastReference; ++j) total += work(j);
  starts.clear();
  starts.push_back(1);
  const double share = total / chunkTarget;
  double running = 0.0;
  for (std::int64_t j = 1; j <= lastReference; ++j) {
    running += work(j);
    if (running >= share * static_cast<double>(starts.size()) && j < lastReference) starts.push_back(j + 1);
  }
  starts.push_back(lastReference + 1);
}

}  // namespace

bool isSupported(InstructionSet set) {
  switch (set) {
    case InstructionSet::avx512:
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
             __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw");
    case InstructionSet::avx2:
      return __builtin_cpu_supports("avx2");
    case InstructionSet::sse2:
      return true;
  }
  return false;
}

InstructionSet bestInstructionSet() {
  if (isSupported(InstructionSet::avx512)) return InstructionSet::avx512;
  if (isSupported(InstructionSet::avx2)) return InstructionSet::avx2;
  return InstructionSet::sse2;
}

std::string_view nameOf(InstructionSet set) {
  switch (set) {
    case InstructionSet::avx512:
      return "AVX-512";
    case InstructionSet::avx2:
      return "AVX2";
    case InstructionSet::sse2:
      break;
  }
  return "SSE2";
}

int availableCores() {
  cpu_set_t mask;
  CPU_ZERO(&mask);
  if (sched_getaffinity(0, sizeof mask, &mask) != 0) return 1;
  return std::max(1, CPU_COUNT(&mask));
}

void cellsOfScaledVectorised(std::span<const double> scaled, std::span<std::int32_t> cells,
                             InstructionSet instructionSet) {
  const std::size_t n = std::min(scaled.size(), cells.size());
  switch (instructionSet) {
    case InstructionSet::avx512:
      cellBatchAvx512(scaled.data(), cells.data(), n);
      return;
    case InstructionSet::avx2:
      cellBatchAvx2(scaled.data(), cells.data(), n);
      return;
    case InstructionSet::sse2:
      break;
  }
  cellBatchSse2(scaled.data(), cells.data(), n);
}

struct FastPairCounter::Workspace {
  std::vector<double> values = std::vector<double>(kSeriesCapacity + 1 + 2 * kWidestTile, 0.0);
  std::vector<ThreadTables> tables;
  std::vector<Level> levels;
  std::vector<std::int64_t> chunkStarts;
  std::vector<std::int64_t> merged;
  std::vector<std::thread> workers;
};

FastPairCounter::FastPairCounter(int threads) : FastPairCounter(threads, bestInstructionSet()) {}

FastPairCounter::FastPairCounter(int threads, InstructionSet instructionSet)
    : threads_(threads > 0 ? threads : availableCores()),
      instructionSet_(isSupported(instructionSet) ? instructionSet : bestInstructionSet()),
      workspace_(std::make_unique<Workspace>()) {}

FastPairCounter::~FastPairCounter() = default;

void FastPairCounter::count(const Series& series, std::int32_t t, std::span<CountingJob> jobs) {
  Workspace& ws = *workspace_;
  // One level per distinct (m, Rat) with pairs to count.
  ws.levels.clear();
  for (CountingJob& job : jobs) {
    job.counts = {};
    const std::int64_t last = lastPairedVector(series.count, job.m, t);
    job.pairs = pairsOf(last);
    if (job.pairs == 0 || !job.scale.formsBins()) continue;
    const Level level{job.m, static_cast<double>(job.scale.rat), last};
    const bool known = std::any_of(ws.levels.begin(), ws.levels.end(),
                                   [&](const Level& l) { return l.m == level.m && l.rat == level.rat; });
    if (!known) ws.levels.push_back(level);
  }
  if (ws.levels.empty()) return;
  std::sort(ws.levels.begin(), ws.levels.end(), [](const Level& a, const Level& b) { return a.m < b.m; });
  const int levelCount = static_cast<int>(ws.levels.size());
  const std::int32_t mMax = ws.levels.back().m;

  std::copy(series.values.begin(), series.values.end(), ws.values.begin());
  const int threadCount = static_cast<int>(std::min<std::int64_t>(threads_, ws.levels[0].last - 1));
  planChunks(ws.levels, threadCount * 32, ws.chunkStarts);

  // A strip of 1024 references stays in the first-level cache with the
  // cell tables; it grows with (m - 1) T so that the squares it shares
  // outnumber those it recomputes at its end.
  const std::int64_t block =
      std::max<std::int64_t>(1024, ((mMax - 1) * static_cast<std::int64_t>(t) + kWidestTile - 1) / kWidestTile * kWidestTile);
  ws.tables.resize(static_cast<std::size_t>(threadCount));
  for (ThreadTables& tables : ws.tables) {
    tables.cells.assign(static_cast<std::size_t>(levelCount) * kCopies * kCellStride, 0u);
    tables.totals.assign(static_cast<std::size_t>(levelCount) * kDistanceCells, 0);
    tables.strip.assign(static_cast<std::size_t>(block + (mMax - 1) * static_cast<std::int64_t>(t) + 2 * kWidestTile),
                        0.0);
    tables.pending = 0;
  }

  std::atomic<int> nextChunk{0};
  PassPlan plan;
  plan.x = ws.values.data();
  plan.t = t;
  plan.n = series.count;
  plan.block = block;
  plan.levels = ws.levels.data();
  plan.levelCount = levelCount;
  plan.chunkStarts = ws.chunkStarts.data();
  plan.chunkCount = static_cast<int>(ws.chunkStarts.size()) - 1;
  plan.nextChunk = &nextChunk;
  const ChunkCounter countChunks = chunkCounterFor(instructionSet_);

  ws.workers.clear();
  for (int w = 1; w < threadCount; ++w)
    ws.workers.emplace_back([&plan, &ws, countChunks, w] { countChunks(plan, ws.tables[static_cast<std::size_t>(w)]); });
  countChunks(plan, ws.tables[0]);
  for (std::thread& worker : ws.workers) worker.join();

  ws.merged.assign(kDistanceCells, 0);
  for (int g = 0; g < levelCount; ++g) {
    std::fill(ws.merged.begin(), ws.merged.end(), 0);
    for (const ThreadTables& tables : ws.tables)
      for (int cell = 0; cell < kDistanceCells; ++cell)
        ws.merged[static_cast<std::size_t>(cell)] +=
            tables.totals[static_cast<std::size_t>(g) * kDistanceCells + static_cast<std::size_t>(cell)];
    const SampledCounts counts = sampledCountsFromCells(ws.merged.data());
    const Level& level = ws.levels[static_cast<std::size_t>(g)];
    for (CountingJob& job : jobs)
      if (job.pairs > 0 && job.m == level.m && static_cast<double>(job.scale.rat) == level.rat) job.counts = counts;
  }
}

}  // namespace corrsum
