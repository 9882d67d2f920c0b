// Whole runs of the program with the fast engine against runs with the
// reference engine (CORRSUM_ENGINE=reference): console, error stream, exit
// status and every curve file byte for byte.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "failure/run_failure.h"
#include "tests/program_run.h"

namespace corrsum::testing {
namespace {

// A chaotic map, rounded to a few decimals so that some distances tie.
std::string seriesText(int n, int decimals) {
  std::ostringstream text;
  text.precision(decimals);
  double x = 0.1, y = 0.0;
  for (int i = 0; i < n + 100; ++i) {
    const double next = 1.0 - 1.4 * x * x + y;
    y = 0.3 * x;
    x = next;
    if (i >= 100) text << std::fixed << x << "\n";
  }
  return text.str();
}

struct RunCase {
  std::string name;
  std::string series;
  int count;
  int t;
  int rangeFlag;
  std::vector<int> dimensions;
};

std::string answersFor(const RunCase& run) {
  std::string answers = "s.tms\n" + std::to_string(run.count) + "\n" + std::to_string(run.t) + "\n" +
                        std::to_string(run.rangeFlag) + "\n" + std::to_string(run.dimensions.size()) + "\n";
  for (std::size_t i = 0; i < run.dimensions.size(); ++i)
    answers += std::to_string(run.dimensions[i]) + "\nc" + std::to_string(i + 1) + ".dat\n";
  return answers;
}

struct Outcome {
  ProgramResult result;
  std::vector<std::string> files;  // curve file i, or "(missing)"
};

// Runs in `dir` (so reports name the same paths for both engines) and
// takes the curve files away afterwards.
Outcome runWith(const RunCase& run, bool referenceEngine, const TempDir& dir) {
  dir.write("s.tms", run.series);
  if (referenceEngine) ::setenv("CORRSUM_ENGINE", "reference", 1);
  Outcome outcome{runCorrsum(answersFor(run), dir.path()), {}};
  ::unsetenv("CORRSUM_ENGINE");
  for (std::size_t i = 0; i < run.dimensions.size(); ++i) {
    const auto path = dir / ("c" + std::to_string(i + 1) + ".dat");
    outcome.files.push_back(std::filesystem::exists(path) ? readFile(path) : "(missing)");
    std::filesystem::remove(path);
  }
  return outcome;
}

// The first line of a report; the stack listing after it names code
// addresses, which differ with the path that reached the report.
std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(FastEngineRun, CurveFilesAndConsoleEqualThoseOfTheReferenceEngine) {
  std::string spreadOnlyFromTwoDimensions;  // range too small for Rat in one dimension
  for (int i = 0; i < 300; ++i) spreadOnlyFromTwoDimensions += i % 3 == 0 ? "4.5E-17\n" : "0\n";
  const RunCase cases[] = {
      {"twelve dimensions, T=2, widened", seriesText(2500, 4), 2500, 2, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      {"repeated and out-of-order dimensions, T=1", seriesText(3000, 6), 3000, 1, 0, {3, 1, 3, 10, 2}},
      {"a job without pairs between others, T=7", seriesText(800, 2), 800, 7, 0, {2, 200, 5}},
      {"no spread in the second job's dimension", spreadOnlyFromTwoDimensions, 300, 1, 0, {2, 1, 3}},
  };
  for (const RunCase& run : cases) {
    SCOPED_TRACE(run.name);
    TempDir dir;
    const Outcome fast = runWith(run, false, dir);
    const Outcome reference = runWith(run, true, dir);
    EXPECT_EQ(fast.result.out, reference.result.out);
    EXPECT_EQ(firstLine(fast.result.err), firstLine(reference.result.err));
    EXPECT_EQ(fast.result.exitStatus, reference.result.exitStatus);
    ASSERT_EQ(fast.files.size(), reference.files.size());
    for (std::size_t i = 0; i < fast.files.size(); ++i) EXPECT_EQ(fast.files[i], reference.files[i]) << "file " << i + 1;
  }
}

TEST(FastEngineRun, NoSpreadInALaterJobEndsTheRunAtThatJobsTurn) {
  std::string series;
  for (int i = 0; i < 300; ++i) series += i % 3 == 0 ? "4.5E-17\n" : "0\n";
  TempDir dir;
  const Outcome fast = runWith({"", series, 300, 1, 0, {2, 1, 3}}, false, dir);
  EXPECT_NE(fast.result.exitStatus, 0);
  EXPECT_NE(fast.result.err.find("(174)"), std::string::npos) << fast.result.err;
  EXPECT_NE(fast.files[0], "");           // the first job is complete
  EXPECT_EQ(fast.files[1], "");           // the second job's file exists, empty
  EXPECT_EQ(fast.files[2], "(missing)");  // the third job never started
}

TEST(FastEngineRun, ControlCWhileCountingEndsTheRunWithItsReport) {
  TempDir dir;
  dir.write("s.tms", seriesText(150000, 6));
  std::string answers = "s.tms\n150000\n1\n0\n10\n";
  for (int m = 1; m <= 10; ++m) answers += std::to_string(m) + "\nc" + std::to_string(m) + ".dat\n";
  ProgramOptions options;
  options.keepInputOpen = true;
  RunningProgram run(answers, dir.path(), options);
  ASSERT_TRUE(run.waitForOutput(" Rat="));
  run.sendSignal(SIGINT);
  const ProgramResult result = run.finish();
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.err, std::string(kReportPrefix) + ": error (200): program aborting due to control-C event\r\n");
  EXPECT_EQ(readFile(dir / "c1.dat"), "");
  EXPECT_FALSE(std::filesystem::exists(dir / "c2.dat"));
}

}  // namespace
}  // namespace corrsum::testing
