#include "failure/console_events.h"

#include <pthread.h>
#include <signal.h>

#include <string>
#include <system_error>
#include <thread>

#include "failure/run_end.h"
#include "failure/run_failure.h"
#include "failure/traceback_block.h"

namespace corrsum {
namespace {

constexpr int kEventSignals[] = {SIGINT, SIGQUIT, SIGHUP};

bool startedIgnored(int signal) {
  struct sigaction current {};
  return ::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

[[noreturn]] void takeEvents(sigset_t events) {
  for (;;) {
    int signal = 0;
    if (::sigwait(&events, &signal) != 0) continue;
    if (const auto event = consoleEventOf(signal)) terminateRun(consoleEventReport(*event), event->exitStatus);
  }
}

}  // namespace

std::optional<ConsoleEvent> consoleEventOf(int signal) {
  switch (signal) {
    case SIGINT: return ConsoleEvent{"control-C", 0};
    case SIGQUIT: return ConsoleEvent{"control-BREAK", 1};
    case SIGHUP: return ConsoleEvent{"window-CLOSE", 2};
    default: return std::nullopt;
  }
}

std::string consoleEventReport(const ConsoleEvent& event) {
  return formatReportLine(RunFailure{failures::consoleEvent, 0, std::string(event.name)});
}

void installConsoleEventHandler() {
  ::signal(SIGPIPE, SIG_IGN);
  ::signal(SIGXFSZ, SIG_IGN);
  prepareTraceback();

  sigset_t events;
  sigemptyset(&events);
  for (int signal : kEventSignals)
    if (!startedIgnored(signal)) sigaddset(&events, signal);
  sigset_t before;
  ::pthread_sigmask(SIG_BLOCK, &events, &before);
  // The handler's thread inherits the blocked set, as sigwait requires.
  try {
    std::thread(takeEvents, events).detach();
  } catch (const std::system_error&) {
    // Without a thread to take them, blocked events would be lost; the
    // platform's default action at least still ends the run.
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
  }
}

}  // namespace corrsum
