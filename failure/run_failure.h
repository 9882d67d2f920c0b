// RunFailure: the one way a run ends on a failure.
#pragma once

#include <cstdint>
#include <string>

#include "failure/failure_code.h"

namespace corrsum {

/// The word that opens every report line and system-error line.
inline constexpr std::string_view kReportPrefix = "corrsum";

/// One failure and what its report shows. The catalog text's placeholders
/// are filled in order: %d with `integerArgument` (a unit number keeps its
/// minus sign: -4 for the console input), %s with `textArgument` (the file
/// name exactly as connected, "CONIN$", or a console event's name).
struct RunFailure {
  FailureCode code;
  std::int32_t integerArgument = 0;
  std::string textArgument;
  /// An operating-system error number (errno) carried by the failure, or 0.
  /// When set, a system-error line with the system's own text comes first.
  int systemError = 0;
};

/// The standard report line, CR LF included:
/// "corrsum: severe (29): file not found, unit 7, file /tmp/x.tms\r\n".
std::string formatReportLine(const RunFailure& failure);

/// The system-error line: "corrsum: " and strerror's text, then CR LF.
std::string formatSystemErrorLine(int systemError);

/// Ends the run on `failure`: the system-error line on its own (when the
/// failure carries an error code), then the report line followed, for a
/// severe report, by the traceback block in the same write, all to standard
/// error; then the termination sequence with the failure's exit status: the
/// code's value for a severe report, whose low eight bits are what the
/// platform keeps (29 for failure 29). The block's first frame is this
/// function's own. Console events, the only error reports, end through
/// their own handler; an error or info code given here gets no block and
/// ends with its number. Never returns.
[[noreturn]] void endRun(const RunFailure& failure);

}  // namespace corrsum
