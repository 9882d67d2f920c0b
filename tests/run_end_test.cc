// The termination sequence under the conditions other threads make: a
// writer stuck in the output gate, and two threads ending at once.
#include "failure/run_end.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <thread>

#include "tests/program_run.h"

namespace corrsum {
namespace {

TEST(TerminateRun, WritesSystemLineThenReportAndExitsWithLowBits) {
  const auto result = testing::runInChild([] { terminateRun("report\r\n", 3221225510u, "system\r\n"); });
  EXPECT_EQ(result.err, "system\r\nreport\r\n");
  EXPECT_EQ(result.exitStatus, 38);
}

TEST(TerminateRun, DoesNotWaitForAWriterStuckInTheGate) {
  const auto result = testing::runInChild([] {
    std::atomic<bool> holding{false};
    // Stands for a thread blocked in a write to a full pipe.
    std::thread([&] {
      OutputGateHold hold;
      holding = true;
      for (;;) ::pause();
    }).detach();
    while (!holding) std::this_thread::yield();
    terminateRun("ended\r\n", 2);
  });
  EXPECT_EQ(result.signal, 0) << "the end hung behind the gate";
  EXPECT_EQ(result.err, "ended\r\n");
  EXPECT_EQ(result.exitStatus, 2);
}

TEST(TerminateRun, EndsFromInsideItsOwnGateHold) {
  // A write that fails ends the run while its thread holds the gate.
  const auto result = testing::runInChild([] {
    OutputGateHold hold;
    terminateRun("write failed\r\n", 38);
  });
  EXPECT_EQ(result.signal, 0);
  EXPECT_EQ(result.err, "write failed\r\n");
  EXPECT_EQ(result.exitStatus, 38);
}

TEST(TerminateRun, TwoThreadsEndingGiveOneReport) {
  for (int round = 0; round < 20; ++round) {
    const auto result = testing::runInChild([] {
      std::atomic<bool> go{false};
      std::thread([&] {
        while (!go) {
        }
        terminateRun("first\r\n", 1);
      }).detach();
      go = true;
      terminateRun("second\r\n", 2);
    });
    EXPECT_TRUE((result.err == "first\r\n" && result.exitStatus == 1) ||
                (result.err == "second\r\n" && result.exitStatus == 2))
        << result.err;
  }
}

TEST(EndRunNormally, SilentWithStatusZero) {
  const auto result = testing::runInChild([] { endRunNormally(); });
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.exitStatus, 0);
}

}  // namespace
}  // namespace corrsum
