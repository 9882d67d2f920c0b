#include "engine/pair_histogram.h"

#include <algorithm>

namespace corrsum {

void PairHistogram::clear() { std::fill(bins.begin() + 1, bins.begin() + 1 + kBinsInUse, 0); }

}  // namespace corrsum
