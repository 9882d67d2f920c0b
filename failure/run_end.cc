#include "failure/run_end.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>

namespace corrsum {
namespace {

// Long enough for any record write that is making progress to complete,
// short enough that an end behind a blocked write is not noticed.
constexpr std::chrono::milliseconds kGateWait{250};

std::recursive_timed_mutex& outputGate() {
  static std::recursive_timed_mutex gate;
  return gate;
}

std::atomic<bool>& runEnding() {
  static std::atomic<bool> ending{false};
  return ending;
}

// Claims the end of the run for the calling thread. A thread that comes
// second only waits: the process ends under it.
void claimTheEnd() {
  if (!runEnding().exchange(true)) return;
  for (;;) ::pause();
}

void writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return;  // nowhere left to report to
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

}  // namespace

// A writer that comes to the gate once the end is claimed never gets
// through, even when the ending thread could not take the gate in time.
OutputGateHold::OutputGateHold() {
  outputGate().lock();
  if (runEnding().load()) {
    outputGate().unlock();
    for (;;) ::pause();
  }
}
OutputGateHold::~OutputGateHold() { outputGate().unlock(); }

void terminateRun(std::string_view report, unsigned exitStatus, std::string_view systemLine) {
  claimTheEnd();
  // Taken and never given back; a holder that does not let go in time is
  // stuck in a write, and the process ends under it.
  (void)outputGate().try_lock_for(kGateWait);
  writeAll(STDERR_FILENO, systemLine);
  writeAll(STDERR_FILENO, report);
  ::_exit(static_cast<int>(exitStatus & 0xFFu));
}

void endRunNormally() {
  claimTheEnd();
  ::_exit(0);
}

}  // namespace corrsum
