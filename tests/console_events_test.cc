// Console events inside one process: the event table, the handler's own
// thread, and the signal mask later threads inherit.
#include "failure/console_events.h"

#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <thread>

#include "tests/program_run.h"

namespace corrsum {
namespace {

struct EventCase {
  int signal;
  const char* report;
  int exitStatus;
};

const EventCase kEvents[] = {
    {SIGINT, "corrsum: error (200): program aborting due to control-C event\r\n", 0},
    {SIGQUIT, "corrsum: error (200): program aborting due to control-BREAK event\r\n", 1},
    {SIGHUP, "corrsum: error (200): program aborting due to window-CLOSE event\r\n", 2},
};

TEST(ConsoleEvents, SignalsStandForTheThreeEvents) {
  for (const EventCase& c : kEvents) {
    const auto event = consoleEventOf(c.signal);
    ASSERT_TRUE(event.has_value());
    EXPECT_EQ(consoleEventReport(*event), c.report);
    EXPECT_EQ(event->exitStatus, static_cast<unsigned>(c.exitStatus));
  }
  EXPECT_FALSE(consoleEventOf(SIGTERM).has_value());
}

TEST(ConsoleEvents, HandlerThreadReportsAndEndsWhileMainThreadWorks) {
  for (const EventCase& c : kEvents) {
    SCOPED_TRACE(c.report);
    const auto result = testing::runInChild([&] {
      sigset_t none;
      sigemptyset(&none);
      ::pthread_sigmask(SIG_SETMASK, &none, nullptr);
      for (int s : {SIGINT, SIGQUIT, SIGHUP}) ::signal(s, SIG_DFL);
      installConsoleEventHandler();
      ::kill(::getpid(), c.signal);
      // The main thread goes on working; the event ends the run under it.
      std::atomic<unsigned long> work{0};
      for (;;) work.fetch_add(1, std::memory_order_relaxed);
    });
    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.err, c.report);
    EXPECT_EQ(result.exitStatus, c.exitStatus);
  }
}

TEST(ConsoleEvents, ThreadsStartedLaterInheritTheBlockedEvents) {
  const auto result = testing::runInChild([] {
    installConsoleEventHandler();
    // What a worker of the pair counter would see.
    std::thread([] {
      sigset_t mask;
      ::pthread_sigmask(SIG_BLOCK, nullptr, &mask);
      for (int s : {SIGINT, SIGQUIT, SIGHUP})
        if (sigismember(&mask, s) != 1) (void)::write(STDOUT_FILENO, "unblocked\n", 10);
    }).join();
    ::_exit(0);
  });
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.exitStatus, 0);
}

TEST(ConsoleEvents, AnEventIgnoredAtStartStaysIgnored) {
  const auto result = testing::runInChild([] {
    for (int s : {SIGINT, SIGQUIT}) ::signal(s, SIG_DFL);
    ::signal(SIGHUP, SIG_IGN);  // as under a no-hang-up launcher
    installConsoleEventHandler();
    ::kill(::getpid(), SIGHUP);
    ::usleep(100000);
    ::kill(::getpid(), SIGQUIT);
    ::pause();
  });
  EXPECT_EQ(result.err, "corrsum: error (200): program aborting due to control-BREAK event\r\n");
  EXPECT_EQ(result.exitStatus, 1);
}

TEST(ConsoleEvents, BrokenPipeAndFileSizeLimitBecomeWriteErrors) {
  const auto result = testing::runInChild([] {
    installConsoleEventHandler();
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) ::_exit(9);
    ::close(pipeEnds[0]);
    const bool refused = ::write(pipeEnds[1], "x", 1) < 0 && errno == EPIPE;
    ::raise(SIGXFSZ);
    ::_exit(refused ? 0 : 8);
  });
  EXPECT_EQ(result.signal, 0);
  EXPECT_EQ(result.exitStatus, 0);
}

}  // namespace
}  // namespace corrsum
