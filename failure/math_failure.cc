#include "failure/math_failure.h"

#include <cmath>
#include <string>

#include "failure/run_end.h"
#include "failure/traceback_block.h"

namespace corrsum {

void mathFailure(MathKind kind) {
  std::string report = kind == MathKind::sing ? "\r\nrun-time error M6202: MATH\r\n- log: SING error\r\n"
                                              : "\r\nrun-time error M6201: MATH\r\n- log: DOMAIN error\r\n";
  report += captureTracebackBlock();
  terminateRun(report, 3);
}

double checkedLog(float x) {
  if (x == 0.0f) mathFailure(MathKind::sing);
  // Also true for -Infinity and every NaN, which compare false to zero.
  if (!(x > 0.0f)) mathFailure(MathKind::domain);
  return std::log(static_cast<double>(x));
}

}  // namespace corrsum
