// The end of the run: the output gate, the termination sequence and the
// normal end.
#pragma once

#include <string_view>

namespace corrsum {

/// Every record written to standard output or to a curve file is written
/// while this gate is held (see OutputGateHold). A run that is ending takes
/// the gate for good, so nothing reaches either stream after its report.
class OutputGateHold {
 public:
  OutputGateHold();
  ~OutputGateHold();
  OutputGateHold(const OutputGateHold&) = delete;
  OutputGateHold& operator=(const OutputGateHold&) = delete;
};

/// Termination sequence: takes the output gate (waiting only briefly for a
/// record being written by another thread), writes `report` to standard
/// error in one write, and ends the process with `exitStatus`. Connected
/// files keep everything written so far: every record reached the system
/// when it was complete, so nothing is pending. Never returns.
[[noreturn]] void terminateRun(std::string_view report, unsigned exitStatus);

/// Normal end after the last job: silent, exit status 0.
[[noreturn]] void endRunNormally();

}  // namespace corrsum
