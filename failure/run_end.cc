#include "failure/run_end.h"

#include <unistd.h>

#include <cerrno>
#include <mutex>

namespace corrsum {
namespace {

std::recursive_mutex& outputGate() {
  static std::recursive_mutex gate;
  return gate;
}

void writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return;  // nowhere left to report to
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

}  // namespace

OutputGateHold::OutputGateHold() { outputGate().lock(); }
OutputGateHold::~OutputGateHold() { outputGate().unlock(); }

void terminateRun(std::string_view report, unsigned exitStatus) {
  outputGate().lock();
  writeAll(STDERR_FILENO, report);
  ::_exit(static_cast<int>(exitStatus & 0xFFu));
}

void endRunNormally() { ::_exit(0); }

}  // namespace corrsum
