// The end of the run: the output gate, the termination sequence and the
// normal end.
#pragma once

#include <string_view>

namespace corrsum {

/// Every record written to standard output or to a curve file is written
/// while this gate is held. A run that is ending takes the gate for good,
/// so nothing reaches either stream after its report. The gate is
/// recursive: a write that fails ends the run from inside its own hold.
class OutputGateHold {
 public:
  OutputGateHold();
  ~OutputGateHold();
  OutputGateHold(const OutputGateHold&) = delete;
  OutputGateHold& operator=(const OutputGateHold&) = delete;
};

/// Termination sequence, from any thread. The first thread to arrive ends
/// the run; a later one (a failing read racing a console event, say) waits
/// for that end and never writes. The ending thread takes the output gate,
/// waiting for it only briefly: a thread blocked while writing to a full
/// pipe holds it and is then left alone. It writes `systemLine` (when not
/// empty) on its own, then `report` in one write, both to standard error,
/// and ends the process with `exitStatus`, of which the platform keeps the
/// low eight bits (29 of 3221225501). Every record reached the system when
/// it was complete, so no output is pending: each connected file keeps what
/// was written and is released with the process. Never returns.
[[noreturn]] void terminateRun(std::string_view report, unsigned exitStatus, std::string_view systemLine = {});

/// Normal end after the last job: silent, exit status 0.
[[noreturn]] void endRunNormally();

}  // namespace corrsum
