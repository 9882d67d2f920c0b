// Console control events: interrupt, break and window close.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corrsum {

/// One handled console event: its name in the report and its exit status.
struct ConsoleEvent {
  std::string_view name;
  unsigned exitStatus;
};

/// The console event a signal stands for: SIGINT is control-C (exit status
/// 0), SIGQUIT control-BREAK (1), SIGHUP window-CLOSE (2); any other signal
/// is none.
std::optional<ConsoleEvent> consoleEventOf(int signal);

/// The report of a console event, CR LF included:
/// "corrsum: error (200): program aborting due to control-C event\r\n".
std::string consoleEventReport(const ConsoleEvent& event);

/// Sets up the run's dealings with the platform, once, first thing in the
/// main thread and before any other thread exists:
/// - the three event signals are blocked in the calling thread, and so in
///   every thread it starts later, and are taken by a thread of the
///   handler's own with sigwait; that thread writes the event's report (no
///   traceback) and performs the termination sequence with the event's exit
///   status, whatever the main thread is doing (waiting for an answer,
///   counting pairs, writing a curve). An event signal that the run was
///   started with ignored stays ignored;
/// - SIGPIPE and SIGXFSZ are ignored, so that a write to a closed pipe or
///   past the file size limit fails with an error and is reported as
///   failure 38 instead of killing the process without a word;
/// - the stack walker is made ready (see prepareTraceback).
void installConsoleEventHandler();

}  // namespace corrsum
