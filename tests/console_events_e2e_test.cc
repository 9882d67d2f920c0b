// Console events sent to the running program: at a prompt, while it counts
// pairs, and while it is stuck writing to a full pipe. Each ends the run with
// its one report line, its exit status and the files as they were.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>

#include "tests/program_run.h"

namespace corrsum::testing {
namespace {

using std::chrono::seconds;

struct Event {
  int signal;
  const char* report;
  int exitStatus;
};

const Event kEvents[] = {
    {SIGINT, "corrsum: error (200): program aborting due to control-C event\r\n", 0},
    {SIGQUIT, "corrsum: error (200): program aborting due to control-BREAK event\r\n", 1},
    {SIGHUP, "corrsum: error (200): program aborting due to window-CLOSE event\r\n", 2},
};

constexpr const char* kNamePrompt = "  Enter INPUT FileName (----.TMS)\r\n";
constexpr const char* kCountPrompt = "  Enter the number of points in the INPUT File\r\n";
constexpr const char* kTimePrompt = "  Enter the Decorrelation Time T=?\r\n";
constexpr const char* kSeries = "0\n0.5\n1\n";

void expectEventEnd(const ProgramResult& result, const Event& event) {
  EXPECT_EQ(result.signal, 0) << "the event must be handled, not die by its signal";
  EXPECT_EQ(result.err, event.report) << "one line, no traceback block";
  EXPECT_EQ(result.exitStatus, event.exitStatus);
}

TEST(ConsoleEventsAtPrompt, FirstPromptWaitingForTheName) {
  for (const Event& event : kEvents) {
    SCOPED_TRACE(event.report);
    TempDir dir;
    ProgramOptions options;
    options.keepInputOpen = true;
    RunningProgram program("", dir.path(), options);
    ASSERT_TRUE(program.waitForOutput(kNamePrompt));
    program.sendSignal(event.signal);
    // Standard input stays open until the end: its end would be a report too.
    ASSERT_TRUE(program.endsWithin(seconds(10)));
    const ProgramResult result = program.finish();
    expectEventEnd(result, event);
    EXPECT_EQ(result.out, kNamePrompt);
  }
}

TEST(ConsoleEventsAtPrompt, SeriesFileConnectedIsLeftAsItWas) {
  TempDir dir;
  dir.write("s.tms", kSeries);
  ProgramOptions options;
  options.keepInputOpen = true;
  RunningProgram program("s.tms\n3\n", dir.path(), options);
  ASSERT_TRUE(program.waitForOutput(kTimePrompt));
  program.sendSignal(SIGINT);
  // Standard input stays open until the end: its end would be a report too.
  ASSERT_TRUE(program.endsWithin(seconds(10)));
  const ProgramResult result = program.finish();
  expectEventEnd(result, kEvents[0]);
  EXPECT_EQ(result.out, std::string(kNamePrompt) + kCountPrompt + kTimePrompt);
  EXPECT_EQ(readFile(dir / "s.tms"), kSeries);
}

// Enough values at NDIM 10 to keep the pair counting busy for seconds.
std::string longSeries() {
  std::string series;
  for (int i = 0; i < 40000; ++i) series += std::to_string(std::sin(i * 0.37) + 0.3 * std::sin(i * 1.71)) + "\n";
  return series;
}

TEST(ConsoleEventsDuringAJob, CountingPairsEndsAtOnceWithTheCurveFileEmpty) {
  const std::string series = longSeries();
  for (const Event& event : kEvents) {
    SCOPED_TRACE(event.report);
    TempDir dir;
    dir.write("long.tms", series);
    RunningProgram program("long.tms\n40000\n1\n0\n2\n10\nc1.dat\n10\nc2.dat\n", dir.path());
    // The scale is the last thing reported before the counting starts.
    ASSERT_TRUE(program.waitForOutput("  Rat="));
    ASSERT_TRUE(program.waitForOutput("\r\n", seconds(1)));
    program.sendSignal(event.signal);
    const ProgramResult result = program.finish();
    expectEventEnd(result, event);
    // Nothing came after the scale: no rows, no next job.
    EXPECT_EQ(result.out.substr(result.out.rfind("  Rat=")).find("\r\n"), result.out.size() - result.out.rfind("  Rat=") - 2);
    EXPECT_TRUE(std::filesystem::exists(dir / "c1.dat"));
    EXPECT_EQ(readFile(dir / "c1.dat"), "");
    EXPECT_FALSE(std::filesystem::exists(dir / "c2.dat"));
    EXPECT_EQ(readFile(dir / "long.tms"), series);
  }
}

TEST(ConsoleEventsDuringAJob, EndsWhileTheMainThreadIsStuckWritingToAFullPipe) {
  // Hundreds of small jobs print more banners than a pipe holds; as the
  // test does not read, the program blocks in a write to standard output.
  constexpr int kJobs = 300;
  std::string input = "s.tms\n3\n1\n0\n" + std::to_string(kJobs) + "\n";
  for (int i = 1; i <= kJobs; ++i) input += "1\nc" + std::to_string(i) + ".dat\n";
  TempDir dir;
  dir.write("s.tms", kSeries);
  RunningProgram program(input, dir.path());
  ASSERT_FALSE(program.endsWithin(seconds(1))) << "the output pipe did not fill up";
  program.sendSignal(SIGHUP);
  EXPECT_TRUE(program.endsWithin(seconds(10))) << "the end waited for the blocked writer";
  const ProgramResult result = program.finish();
  expectEventEnd(result, kEvents[2]);

  // The jobs before the blocked one are complete; the blocked job's file is
  // empty and no job after it began.
  int created = 0;
  while (std::filesystem::exists(dir / ("c" + std::to_string(created + 1) + ".dat"))) ++created;
  ASSERT_GE(created, 1);
  ASSERT_LT(created, kJobs);
  const std::string complete = readFile(dir / "c1.dat");
  for (int i = 1; i < created; ++i) EXPECT_EQ(readFile(dir / ("c" + std::to_string(i) + ".dat")), complete) << i;
  EXPECT_EQ(readFile(dir / ("c" + std::to_string(created) + ".dat")), "");
}

}  // namespace
}  // namespace corrsum::testing
