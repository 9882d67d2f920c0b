// Console control events: interrupt, break and window close.
#pragma once

namespace corrsum {

/// Installs the handling of the three console events before the first
/// prompt: control-C (SIGINT, exit status 0), control-BREAK (SIGQUIT, 1) and
/// window-CLOSE (SIGHUP, 2). The signals are blocked in the calling thread,
/// and so in every thread it starts later, and are taken by a thread of the
/// handler's own, which writes "program aborting due to control-C event"
/// (error, number 200, no traceback) and ends the run.
void installConsoleEventHandler();

}  // namespace corrsum
