// RunParameters and DimensionJob: everything the dialogue collects.
#pragma once

#include <cstdint>
#include <vector>

#include "textio/name_field.h"

namespace corrsum {

/// One requested embedding dimension and the name of its new curve file.
struct DimensionJob {
  std::int32_t ndim = 0;
  NameField outputName = NameField::fromLine("");
};

/// Every integer starts at 0; a null answer leaves its field as it was.
struct RunParameters {
  NameField seriesName = NameField::fromLine("");
  std::int32_t requestedCount = 0;
  std::int32_t decorrelationTime = 0;
  std::int32_t rangeFlag = 0;
  std::int32_t jobCount = 0;
  /// The jobs in the order entered; stored as they are answered, so a huge
  /// job count costs nothing until its jobs are actually given.
  std::vector<DimensionJob> jobs;
};

}  // namespace corrsum
