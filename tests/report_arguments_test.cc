// The command line: dimensions from --dims or the file names, the options,
// and the messages for what cannot be used.
#include "report/report_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corrsum::report {
namespace {

TEST(ReportArguments, DimensionFromFileName) {
  struct Case {
    const char* path;
    std::optional<int> ndim;
  };
  const Case cases[] = {
      {"c3.dat", 3},           {"demo-out/c12.dat", 12}, {"run1/c3.dat", 3},  {"henon-d4-final.dat", 4},
      {"c07.dat", 7},          {"c3", 3},                {"5.dat", 5},        {"curve.dat", std::nullopt},
      {"run2/c.dat", std::nullopt}, {"c0.dat", std::nullopt}, {"c99999999.dat", std::nullopt},
      {"c3.dat.bak", 3},       {".c3", 3},
  };
  for (const Case& c : cases) EXPECT_EQ(dimensionFromFileName(c.path), c.ndim) << c.path;
}

ArgumentsResult parse(std::vector<std::string> args) { return parseReportArguments(args); }

TEST(ReportArguments, OptionsAndFiles) {
  const ArgumentsResult r =
      parse({"--plot", "out.svg", "--window=41", "--tolerance", "0.2", "--min-pairs", "10", "--max-c=0.3", "c1.dat",
             "c2.dat"});
  ASSERT_TRUE(r.arguments) << r.error;
  EXPECT_EQ(r.arguments->files, (std::vector<std::string>{"c1.dat", "c2.dat"}));
  EXPECT_EQ(r.arguments->dims, (std::vector<int>{1, 2}));
  EXPECT_EQ(r.arguments->plotPath, "out.svg");
  EXPECT_EQ(r.arguments->analysis.window, 41);
  EXPECT_EQ(r.arguments->analysis.region.tolerance, 0.2);
  EXPECT_EQ(r.arguments->analysis.region.minPairs, 10.0);
  EXPECT_EQ(r.arguments->analysis.region.maxC, 0.3);

  const ArgumentsResult dims = parse({"--dims", "4,2", "a.dat", "b.dat"});
  ASSERT_TRUE(dims.arguments) << dims.error;
  EXPECT_EQ(dims.arguments->dims, (std::vector<int>{4, 2}));

  const ArgumentsResult dashed = parse({"--", "--plot4.dat"});  // a file named --plot4.dat
  ASSERT_TRUE(dashed.arguments) << dashed.error;
  EXPECT_EQ(dashed.arguments->files, (std::vector<std::string>{"--plot4.dat"}));

  const ArgumentsResult defaults = parse({"c5.dat"});
  ASSERT_TRUE(defaults.arguments);
  EXPECT_EQ(defaults.arguments->analysis.window, kDefaultSlopeWindow);
  EXPECT_TRUE(defaults.arguments->plotPath.empty());
  EXPECT_TRUE(parse({"--help"}).arguments->help);
}

TEST(ReportArguments, UnusableCommandLinesSayWhy) {
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const Case cases[] = {
      {{}, "no curve file given"},
      {{"curve.dat"}, "cannot tell the embedding dimension of curve.dat: its name holds no number; give the "
                      "dimensions with --dims"},
      {{"--dims", "1,2", "a.dat"}, "--dims gives 2 dimensions for 1 file"},
      {{"--dims", "1,x", "a.dat", "b.dat"}, "--dims takes a list of embedding dimensions such as 1,2,3, not \"1,x\""},
      {{"--dims", "0", "a.dat"}, "--dims takes a list of embedding dimensions such as 1,2,3, not \"0\""},
      {{"--dims=", "a.dat"}, "--dims takes a list of embedding dimensions such as 1,2,3, not \"\""},
      {{"c2.dat", "run/c2.dat"}, "embedding dimension 2 is given twice (run/c2.dat)"},
      {{"--window", "20", "c1.dat"}, "--window takes an odd number of points, at least 3, not \"20\""},
      {{"--window", "1", "c1.dat"}, "--window takes an odd number of points, at least 3, not \"1\""},
      {{"--tolerance", "0", "c1.dat"}, "--tolerance takes a positive fraction such as 0.15, not \"0\""},
      {{"--tolerance", "nan", "c1.dat"}, "--tolerance takes a positive fraction such as 0.15, not \"nan\""},
      {{"--max-c", "1.5", "c1.dat"}, "--max-c takes a value of C above 0 and at most 1, not \"1.5\""},
      {{"--min-pairs", "-1", "c1.dat"}, "--min-pairs takes a number of pairs, 0 or more, not \"-1\""},
      {{"--plot"}, "--plot needs a value"},
      {{"--colour", "red", "c1.dat"}, "unknown option --colour"},
  };
  for (const Case& c : cases) {
    const ArgumentsResult r = parse(c.args);
    EXPECT_FALSE(r.arguments.has_value()) << c.error;
    EXPECT_EQ(r.error, c.error);
  }
}

}  // namespace
}  // namespace corrsum::report
