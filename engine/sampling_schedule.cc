#include "engine/sampling_schedule.h"

#include <cmath>

namespace corrsum {
namespace {

struct Schedule {
  std::array<std::int32_t, kScheduleVisits> visits{};
  std::array<std::int32_t, kDistinctSampledBins> distinct{};
  std::array<std::int16_t, kScheduleVisits> index{};

  Schedule() {
    int count = 0;
    for (std::int32_t b = 1; b <= 100; ++b) visits[count++] = b;
    for (int e = 3; e <= 6; ++e) {
      const auto base = static_cast<std::int32_t>(std::pow(10.0, e - 1));
      const auto stride = static_cast<std::int32_t>(base / 100.0);
      for (std::int32_t k = 1; k <= 9; ++k)
        for (std::int32_t b = k * base; b <= (k + 1) * base; b += k * stride) visits[count++] = b;
    }
    int distinctCount = 0;
    for (int v = 0; v < kScheduleVisits; ++v) {
      if (distinctCount == 0 || distinct[distinctCount - 1] != visits[v]) distinct[distinctCount++] = visits[v];
      index[v] = static_cast<std::int16_t>(distinctCount - 1);
    }
  }
};

const Schedule& schedule() {
  static const Schedule built;
  return built;
}

}  // namespace

const std::array<std::int32_t, kScheduleVisits>& samplingSchedule() { return schedule().visits; }
const std::array<std::int32_t, kDistinctSampledBins>& sampledBins() { return schedule().distinct; }
const std::array<std::int16_t, kScheduleVisits>& visitSampleIndex() { return schedule().index; }

}  // namespace corrsum
