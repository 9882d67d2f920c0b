// One run of corrsum-report: read every curve file, estimate, print the
// table, draw the figure. The program's main is only this plus its streams.
#pragma once

#include <span>
#include <string>

namespace corrsum::report {

/// Exit statuses: every file read and reported; a file missing, unreadable,
/// malformed or empty, or the figure not written; the command line unusable.
enum ExitStatus : int { kExitReported = 0, kExitBadInput = 1, kExitUsage = 2 };

/// Runs the report for `args` (the arguments after the program name) and
/// returns the exit status. The table goes to `out`; each failure to `err`
/// as one line "corrsum-report: FILE: reason". All files are read before
/// anything is reported, so a bad file leaves `out` empty, and every bad
/// file is named, not just the first.
int runReport(std::span<const std::string> args, std::string& out, std::string& err);

}  // namespace corrsum::report
