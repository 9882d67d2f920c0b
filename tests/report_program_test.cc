// corrsum-report run as a user runs it: on the curve files of a real
// corrsum run, and on the bad inputs it must refuse.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/program_run.h"
#include "tests/report_curve_maker.h"

namespace corrsum::testing {
namespace {

ProgramResult runReport(const TempDir& dir, std::vector<std::string> arguments) {
  ProgramOptions options;
  options.executable = CORRSUM_REPORT_EXECUTABLE;
  options.arguments = std::move(arguments);
  return runCorrsum("", dir.path(), options);
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

const std::string kGoodRow = " -0.6891631      0.0000000E+00\r\n";
const std::string kHeader =
    "NDIM  region in ln r      C in the region            D     +-  Takens-Theiler  file";

TEST(ReportProgram, ReportsTheCurvesOfARealRunAndDrawsTheFigure) {
  TempDir dir;
  std::string series;
  for (const float x : henonSeries(2000)) {
    char line[32];
    std::snprintf(line, sizeof line, "%.8f\n", static_cast<double>(x));
    series += line;
  }
  dir.write("henon.tms", series);
  const ProgramResult run = runCorrsum("henon.tms\n2000\n1\n0\n3\n2\nc2.dat\n3\nc3.dat\n4\nc4.dat\n", dir.path());
  ASSERT_EQ(run.exitStatus, 0) << run.err;

  const ProgramResult report = runReport(dir, {"--plot", "curves.svg", "c2.dat", "c3.dat", "c4.dat"});
  EXPECT_EQ(report.err, "");
  EXPECT_EQ(report.exitStatus, 0);
  const std::vector<std::string> lines = linesOf(report.out);
  ASSERT_EQ(lines.size(), 6u) << report.out;
  EXPECT_EQ(lines[0], kHeader);
  for (int i = 1; i <= 3; ++i) {
    const std::string ndim = std::to_string(i + 1);
    EXPECT_EQ(lines[i].substr(0, 6), "   " + ndim + "  ");
    EXPECT_EQ(lines[i].substr(lines[i].size() - 8), "  c" + ndim + ".dat");
    // The estimate, column 49 on, is the Henon map's dimension.
    EXPECT_NEAR(std::strtod(lines[i].c_str() + 48, nullptr), 1.21, 0.05) << lines[i];
  }
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5].rfind("The estimates converge: NDIM 2 to 4 agree within their uncertainty, D = 1.2", 0), 0u)
      << lines[5];

  const std::string svg = readFile(dir / "curves.svg");
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
  EXPECT_NE(svg.find(">NDIM 4<"), std::string::npos);
}

TEST(ReportProgram, OneDimensionIsReportedWithoutAVerdict) {
  TempDir dir;
  dir.write("c2.dat", curveFileFor(henonSeries(1000), 2));
  const ProgramResult report = runReport(dir, {"c2.dat"});
  EXPECT_EQ(report.err, "");
  EXPECT_EQ(report.exitStatus, 0);
  const std::vector<std::string> lines = linesOf(report.out);
  ASSERT_EQ(lines.size(), 4u) << report.out;
  EXPECT_EQ(lines[3], "Convergence cannot be judged from one embedding dimension: give the curve files of several.");
}

TEST(ReportProgram, BadInputGetsAClearMessageAndAFailingStatus) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;
    std::vector<std::string> arguments;
    std::string err;
    int exitStatus;
  };
  const Case cases[] = {
      {"missing file", {}, {"c2.dat"}, "corrsum-report: c2.dat: cannot open: No such file or directory\n", 1},
      {"malformed row",
       {{"c2.dat", kGoodRow + "garbage\r\n"}},
       {"c2.dat"},
       "corrsum-report: c2.dat: line 2: malformed row: a row is 30 columns, this one is 7: \"garbage\"\n",
       1},
      {"empty curve",
       {{"c2.dat", ""}},
       {"c2.dat"},
       "corrsum-report: c2.dat: empty curve: the file holds no rows (its job counted no pairs)\n",
       1},
      {"a folder", {}, {"--dims", "1", "."}, "corrsum-report: .: cannot open: Is a directory\n", 1},
      {"every bad file named",
       {{"c1.dat", kGoodRow}, {"c3.dat", ""}},
       {"c1.dat", "c2.dat", "c3.dat"},
       "corrsum-report: c2.dat: cannot open: No such file or directory\n"
       "corrsum-report: c3.dat: empty curve: the file holds no rows (its job counted no pairs)\n",
       1},
  };
  for (const Case& c : cases) {
    TempDir dir;
    for (const auto& [name, bytes] : c.files) dir.write(name, bytes);
    const ProgramResult report = runReport(dir, c.arguments);
    EXPECT_EQ(report.out, "") << c.name;
    EXPECT_EQ(report.err, c.err) << c.name;
    EXPECT_EQ(report.exitStatus, c.exitStatus) << c.name;
  }
}

TEST(ReportProgram, TheEmptyCurveOfAJobWithoutPairs) {
  // Two values in dimension 1: one complete vector takes part, no pair.
  TempDir dir;
  dir.write("s.tms", "0\n1\n");
  ASSERT_EQ(runCorrsum("s.tms\n2\n1\n0\n1\n1\nc1.dat\n", dir.path()).exitStatus, 0);
  ASSERT_EQ(readFile(dir / "c1.dat"), "");
  const ProgramResult report = runReport(dir, {"c1.dat"});
  EXPECT_EQ(report.err, "corrsum-report: c1.dat: empty curve: the file holds no rows (its job counted no pairs)\n");
  EXPECT_EQ(report.exitStatus, 1);
}

TEST(ReportProgram, UnusableCommandLineShowsTheUsage) {
  TempDir dir;
  dir.write("curve.dat", kGoodRow);
  const ProgramResult report = runReport(dir, {"curve.dat"});
  EXPECT_EQ(report.out, "");
  EXPECT_EQ(report.err.rfind("corrsum-report: cannot tell the embedding dimension of curve.dat: its name holds no "
                             "number; give the dimensions with --dims\nusage: corrsum-report [options] FILE...\n",
                             0),
            0u)
      << report.err;
  EXPECT_EQ(report.exitStatus, 2);
}

TEST(ReportProgram, AFigureThatCannotBeWrittenFailsAfterTheTable) {
  TempDir dir;
  dir.write("c2.dat", curveFileFor(henonSeries(1000), 2));
  const ProgramResult report = runReport(dir, {"--plot", "no-such-folder/f.svg", "c2.dat"});
  EXPECT_EQ(report.out.rfind(kHeader, 0), 0u);
  EXPECT_EQ(report.err, "corrsum-report: no-such-folder/f.svg: cannot write the figure: No such file or directory\n");
  EXPECT_EQ(report.exitStatus, 1);
}

}  // namespace
}  // namespace corrsum::testing
