// Whole runs through the engine: loading, scale records, curve files.
#include <gtest/gtest.h>

#include <string>

#include "tests/program_run.h"

namespace corrsum::testing {
namespace {

// The console lines from the count record to the end of the run.
std::string afterDialogue(const ProgramResult& result) {
  const std::size_t at = result.out.find("  Number of points");
  return at == std::string::npos ? std::string() : result.out.substr(at);
}

std::string scaleRecords(const ProgramResult& result) {
  const std::size_t at = result.out.find("  Minimum number");
  return at == std::string::npos ? std::string() : result.out.substr(at);
}

std::string row(int index, const std::string& curve) { return curve.substr(static_cast<std::size_t>(index) * 32, 32); }

TEST(CurveFile, AllPairsAtDistanceZeroWriteEveryVisit) {
  TempDir dir;
  dir.write("s.tms", "1\n1\n1\n5\n");
  const ProgramResult result = runCorrsum("s.tms\n4\n1\n0\n1\n1\nc.dat\n", dir.path());
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(scaleRecords(result),
            "  Minimum number in the time-series=    1.000000    \r\n"
            "  Maximum number in the time-series=    5.000000    \r\n"
            "  R-Maximum =    16.00000    \r\n"
            "  Rat=   62500.00    \r\n");
  const std::string curve = readFile(dir / "c.dat");
  ASSERT_EQ(curve.size(), 1260u * 32u);
  // ln(1 / 62500) / 2 and ln(2 / 62500) / 2 at bins 1 and 2 ...
  EXPECT_EQ(row(0, curve), "  -5.521461      0.0000000E+00\r\n");
  EXPECT_EQ(row(1, curve), "  -5.174887      0.0000000E+00\r\n");
  // ... bin 100 twice in a row, then bin 101 ...
  EXPECT_EQ(row(99, curve), row(100, curve));
  EXPECT_EQ(row(100, curve), "  -3.218876      0.0000000E+00\r\n");
  EXPECT_EQ(row(101, curve), "  -3.213901      0.0000000E+00\r\n");
  // ... and bin 999000 last.
  EXPECT_EQ(row(1259, curve), "   1.385794      0.0000000E+00\r\n");
  for (int i = 0; i < 1260; ++i) EXPECT_EQ(row(i, curve).substr(15), "  0.0000000E+00\r\n");
}

TEST(CurveFile, CountsRiseTowardsOne) {
  // Series 0, 1, 3, 6, 10 in dimension 1: L = 4, six pairs at squared
  // distances 1, 4, 9, 4, 25 and 9 (pairs among x(1) .. x(4)).
  TempDir dir;
  dir.write("s.tms", "0\n1\n3\n6\n10\n");
  const ProgramResult result = runCorrsum("s.tms\n5\n1\n0\n1\n1\nc.dat\n", dir.path());
  EXPECT_EQ(result.exitStatus, 0);
  const std::string curve = readFile(dir / "c.dat");
  // Rat = 1e6 / 100: distance 1 is bin 10001, so the first row is bin 10100
  // (r^2 = 1.01) with one pair of six: ln(1/6). The last pair (36) lies
  // below bin 999000, which holds all six.
  EXPECT_EQ(row(0, curve), "  4.9751606E-03  -1.791759    \r\n");
  EXPECT_EQ(curve.substr(curve.size() - 32), "   2.302085      0.0000000E+00\r\n");
}

TEST(DistanceScaleRecords, RangeFlagWidensOnlyForOne) {
  struct Case {
    const char* flag;
    const char* records;
  } cases[] = {
      {"0",
       "  Minimum number in the time-series=   0.0000000E+00\r\n"
       "  Maximum number in the time-series=    1.000000    \r\n"
       "  R-Maximum =    2.000000    \r\n"
       "  Rat=   500000.0    \r\n"},
      {"1",
       "  Minimum number in the time-series=   0.0000000E+00\r\n"
       "  Maximum number in the time-series=    1.000000    \r\n"
       "  R-Maximum =    2.200000    \r\n"
       "  Rat=   454545.4    \r\n"},
      {"5",
       "  Minimum number in the time-series=   0.0000000E+00\r\n"
       "  Maximum number in the time-series=    1.000000    \r\n"
       "  R-Maximum =    2.000000    \r\n"
       "  Rat=   500000.0    \r\n"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    dir.write("s.tms", "0\n1\n");
    const ProgramResult result = runCorrsum(std::string("s.tms\n2\n1\n") + c.flag + "\n1\n2\nc.dat\n", dir.path());
    EXPECT_EQ(scaleRecords(result), c.records) << c.flag;
    EXPECT_EQ(result.exitStatus, 0);
    // Two values give no vector pair in dimension 2: an empty curve file.
    EXPECT_EQ(readFile(dir / "c.dat"), "");
  }
}

TEST(DistanceScaleRecords, RangeBeyondTheFloatRangeGivesInfiniteLnR) {
  TempDir dir;
  dir.write("s.tms", "-3e19\n3e19\n0\n");
  const ProgramResult result = runCorrsum("s.tms\n3\n1\n0\n1\n1\nc.dat\n", dir.path());
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_NE(result.out.find("  R-Maximum =  Infinity      \r\n  Rat=  0.0000000E+00\r\n"), std::string::npos);
  const std::string curve = readFile(dir / "c.dat");
  ASSERT_EQ(curve.size(), 1260u * 32u);
  EXPECT_EQ(row(0, curve), " Infinity        0.0000000E+00\r\n");
}

struct LoadingCase {
  const char* name;
  const char* file;
  const char* requested;
  const char* console;  // from the count record on, without the job
};

class SeriesLoadingTest : public ::testing::TestWithParam<LoadingCase> {};

TEST_P(SeriesLoadingTest, CountRecordAndExtremes) {
  const LoadingCase& c = GetParam();
  TempDir dir;
  dir.write("s.tms", c.file);
  const ProgramResult result = runCorrsum(std::string("s.tms\n") + c.requested + "\n1\n0\n1\n1\nc.dat\n", dir.path());
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitStatus, 0);
  const std::string console = afterDialogue(result);
  const std::string records = console.substr(0, console.find("\r\n") + 2) + scaleRecords(result);
  EXPECT_EQ(records.substr(0, records.find("  R-Maximum")), c.console);
}

INSTANTIATE_TEST_SUITE_P(
    Loading, SeriesLoadingTest,
    ::testing::Values(
        LoadingCase{"FewerValuesThanRequested", "3\n1\n2\n", "5",
                    "  Number of points in the input-Filename =           3\r\n"
                    "  Minimum number in the time-series=    1.000000    \r\n"
                    "  Maximum number in the time-series=    3.000000    \r\n"},
        LoadingCase{"MoreValuesThanRequested", "1\n2\n3\n100\n-100\n", "3",
                    "  Number of points in the input-Filename =           3\r\n"
                    "  Minimum number in the time-series=    1.000000    \r\n"
                    "  Maximum number in the time-series=    3.000000    \r\n"},
        LoadingCase{"NothingRequested", "4\n5\n", "0",
                    "  Number of points in the input-Filename =           0\r\n"
                    "  Minimum number in the time-series=   0.0000000E+00\r\n"
                    "  Maximum number in the time-series=   0.0000000E+00\r\n"},
        LoadingCase{"NegativeRequestShownAsGiven", "4\n5\n", "-7",
                    "  Number of points in the input-Filename =          -7\r\n"
                    "  Minimum number in the time-series=   0.0000000E+00\r\n"
                    "  Maximum number in the time-series=   0.0000000E+00\r\n"},
        LoadingCase{"EmptyFile", "", "10",
                    "  Number of points in the input-Filename =           0\r\n"
                    "  Minimum number in the time-series=   0.0000000E+00\r\n"
                    "  Maximum number in the time-series=   0.0000000E+00\r\n"},
        LoadingCase{"FirstValueOfEachLineOnly", "1.0 9.0\n\n2.0\n", "2",
                    "  Number of points in the input-Filename =           2\r\n"
                    "  Minimum number in the time-series=    1.000000    \r\n"
                    "  Maximum number in the time-series=    2.000000    \r\n"},
        LoadingCase{"ControlZLineEndsTheSeries", "4\n\x1a\n9\n", "3",
                    "  Number of points in the input-Filename =           1\r\n"
                    "  Minimum number in the time-series=    4.000000    \r\n"
                    "  Maximum number in the time-series=    4.000000    \r\n"},
        LoadingCase{"NullLineCountsAsAZeroValue", "5\n,\n7\n", "3",
                    "  Number of points in the input-Filename =           3\r\n"
                    "  Minimum number in the time-series=   0.0000000E+00\r\n"
                    "  Maximum number in the time-series=    7.000000    \r\n"},
        LoadingCase{"CrLfLinesAndNoFinalLineFeed", "-2\r\n6\r\n5.0", "9",
                    "  Number of points in the input-Filename =           3\r\n"
                    "  Minimum number in the time-series=   -2.000000    \r\n"
                    "  Maximum number in the time-series=    6.000000    \r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NoSpread, AJobWithPairsAndNoBinsEndsTheRunAndKeepsItsEmptyFile) {
  TempDir dir;
  dir.write("s.tms", "3\n3\n3\n");
  const ProgramResult result = runCorrsum("s.tms\n3\n1\n0\n1\n1\nflat.dat\n", dir.path());
  EXPECT_NE(result.out.find("  R-Maximum =   0.0000000E+00\r\n  Rat= Infinity      \r\n"), std::string::npos);
  EXPECT_EQ(result.err.rfind("corrsum: severe (174): the series has no spread, no distance bin can be formed, "
                             "unit 8, file " +
                                 (dir / "flat.dat").string() + "\r\n",
                             0),
            0u)
      << result.err;
  EXPECT_EQ(result.exitStatus, 174);
  EXPECT_TRUE(std::filesystem::exists(dir / "flat.dat"));
  EXPECT_EQ(readFile(dir / "flat.dat"), "");
}

TEST(NoSpread, AJobWithoutPairsCompletesWithAnEmptyFile) {
  TempDir dir;
  dir.write("s.tms", "3\n3\n");
  const ProgramResult result = runCorrsum("s.tms\n2\n1\n0\n1\n1\nflat.dat\n", dir.path());
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(readFile(dir / "flat.dat"), "");
}

}  // namespace
}  // namespace corrsum::testing
