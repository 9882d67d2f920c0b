// The dialogue as a user meets it: prompts, answers on a pipe, the job loop.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/program_run.h"

namespace corrsum::testing {
namespace {

const std::string kPrompts =
    "  Enter INPUT FileName (----.TMS)\r\n"
    "  Enter the number of points in the INPUT File\r\n"
    "  Enter the Decorrelation Time T=?\r\n"
    "  Extend the dynamic range (1-YES 0-NO) ?\r\n"
    "  1-YES is recommended for very small numbers\r\n"
    "  Enter the NUMBER of Embed.-Dimens. to be used\r\n";

// An integer as the writer's 12-column field.
std::string field12(int value) {
  const std::string digits = std::to_string(value);
  return std::string(12 - digits.size(), ' ') + digits;
}

std::string jobPrompts(int i) {
  const std::string number = field12(i);
  return "  Enter the " + number + "-th Embeding dimension ?\r\n" + "  Enter the " + number +
         "-th OUTPUT FileName (----.dat)\r\n";
}

std::string banner(int ndim, const std::string& name) {
  const std::string number = field12(ndim);
  return "\r\n\r\n ******* NDIM=" + number + " **********\r\n ******* Filename=\r\n " + name +
         std::string(64 - name.size(), ' ') + " ***\r\n\r\n\r\n";
}

std::string loaded(int count) {
  const std::string number = field12(count);
  return "  Number of points in the input-Filename =" + number + "\r\n  ****START CALCULATIONS *****\r\n";
}

class DialogueTest : public ::testing::Test {
 protected:
  void SetUp() override { dir.write("s.tms", "0\n0.5\n1\n"); }
  TempDir dir;
};

TEST_F(DialogueTest, JobCountOfZeroOrLessAsksNoDimensionAndCreatesNothing) {
  for (const char* count : {"0", "-3"}) {
    const ProgramResult result = runCorrsum(std::string("s.tms\n3\n1\n0\n") + count + "\n", dir.path());
    EXPECT_EQ(result.out, kPrompts + loaded(3));
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.exitStatus, 0);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(DialogueTest, DimensionsAndNamesAlternateAndJobsRunInOrder) {
  const ProgramResult result = runCorrsum("s.tms\n3\n1\n0\n2\n1\nfirst.dat\n1\nsecond.dat\n", dir.path());
  const std::string scale =
      "  Minimum number in the time-series=   0.0000000E+00\r\n"
      "  Maximum number in the time-series=    1.000000    \r\n"
      "  R-Maximum =    1.000000    \r\n"
      "  Rat=   1000000.    \r\n";
  EXPECT_EQ(result.out, kPrompts + jobPrompts(1) + jobPrompts(2) + loaded(3) + banner(1, "first.dat") + scale +
                            banner(1, "second.dat") + scale);
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(readFile(dir / "first.dat"), readFile(dir / "second.dat"));
  EXPECT_EQ(readFile(dir / "first.dat").size(), 163u * 32u);
}

TEST_F(DialogueTest, AnswersAreTakenFromLinesOfTheirOwn) {
  // "2 out.dat" gives 2 and the name still comes from the next line; blank
  // lines before a number are passed over without a new prompt; "3.7" is 3
  // points; "  9 " a range flag that is not 1.
  const ProgramResult result =
      runCorrsum("  s.tms  \n\n   \n3.7\n1 5\n  9 \n1\n2 out.dat\nc2.dat\n", dir.path());
  EXPECT_EQ(result.out.substr(0, kPrompts.size() + jobPrompts(1).size()), kPrompts + jobPrompts(1));
  EXPECT_NE(result.out.find(loaded(3) + banner(2, "c2.dat")), std::string::npos);
  // Range flag 9 leaves the scale unwidened: 2 * 1^2.
  EXPECT_NE(result.out.find("  R-Maximum =    2.000000    \r\n"), std::string::npos);
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_TRUE(std::filesystem::exists(dir / "c2.dat"));
  EXPECT_FALSE(std::filesystem::exists(dir / "out.dat"));
}

TEST_F(DialogueTest, NullAnswersLeaveTheirFieldAtZero) {
  // A null point count reads nothing; the null range flag stays 0 and the
  // null job count asks nothing.
  const ProgramResult result = runCorrsum("s.tms\n,\n1\n/\n3*\n", dir.path());
  EXPECT_EQ(result.out, kPrompts + loaded(0));
  EXPECT_EQ(result.exitStatus, 0);
}

TEST_F(DialogueTest, ANameLongerThanTheFieldUsesItsFirstSixtyFourBytes) {
  const std::string name64(64, 'n');
  const ProgramResult result = runCorrsum("s.tms\n3\n1\n0\n1\n1\n" + name64 + "tail\n", dir.path());
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_TRUE(std::filesystem::exists(dir / name64));
  EXPECT_NE(result.out.find(" ******* Filename=\r\n " + name64 + " ***\r\n"), std::string::npos);
}

TEST_F(DialogueTest, TheSameDimensionMayBeAskedTwiceButNotTheSameFile) {
  const ProgramResult result = runCorrsum("s.tms\n3\n1\n0\n2\n1\nc.dat\n1\nc.dat\n", dir.path());
  EXPECT_EQ(result.err.rfind("corrsum: severe (10): cannot overwrite existing file, unit 8, file " +
                                 (dir / "c.dat").string() + "\r\n",
                             0),
            0u)
      << result.err;
  EXPECT_EQ(result.exitStatus, 10);
  // The first job is complete; nothing of the second job was printed.
  EXPECT_EQ(readFile(dir / "c.dat").size(), 163u * 32u);
  EXPECT_EQ(result.out.find("NDIM"), result.out.rfind("NDIM"));
}

struct RefusedAnswer {
  const char* name;
  const char* input;
  const char* report;
  int exitStatus;
  int promptsShown;  // records of the dialogue on stdout before the end
};

class RefusedAnswerTest : public ::testing::TestWithParam<RefusedAnswer> {};

// Answers no delay embedding can take are refused right after they are read.
TEST_P(RefusedAnswerTest, EndsTheRunBeforeTheNextPrompt) {
  TempDir dir;
  dir.write("s.tms", "0\n0.5\n1\n");
  const RefusedAnswer& c = GetParam();
  const ProgramResult result = runCorrsum(c.input, dir.path());
  EXPECT_EQ(result.err.rfind(c.report, 0), 0u) << result.err;
  EXPECT_EQ(result.exitStatus, c.exitStatus);
  std::string expected = kPrompts + jobPrompts(1);
  std::size_t end = 0;
  for (int i = 0; i < c.promptsShown; ++i) end = expected.find("\r\n", end) + 2;
  EXPECT_EQ(result.out, expected.substr(0, end));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogue, RefusedAnswerTest,
    ::testing::Values(
        RefusedAnswer{"ZeroDelay", "s.tms\n3\n0\n0\n1\n1\nc.dat\n",
                      "corrsum: severe (171): decorrelation time T=0 is out of range, allowed are 1 to 2147483647\r\n",
                      171, 3},
        RefusedAnswer{"NegativeDelay", "s.tms\n3\n-4\n",
                      "corrsum: severe (171): decorrelation time T=-4 is out of range, allowed are 1 to 2147483647\r\n",
                      171, 3},
        RefusedAnswer{"ZeroDimension", "s.tms\n3\n1\n0\n1\n0\nc.dat\n",
                      "corrsum: severe (172): embedding dimension NDIM=0 is out of range, allowed are 1 to "
                      "2147483647\r\n",
                      172, 7},
        RefusedAnswer{"TooManyPoints", "s.tms\n150001\n1\n",
                      "corrsum: severe (173): number of points 150001 is out of range, allowed are at most 150000\r\n",
                      173, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DialogueLimits, AHugeJobCountCostsNothingUntilItsJobsAreGiven) {
  TempDir dir;
  dir.write("s.tms", "0\n0.5\n1\n");
  const ProgramResult result = runCorrsum("s.tms\n3\n1\n0\n2000000000\n1\nc1.dat\n", dir.path());
  EXPECT_EQ(result.err.rfind("corrsum: severe (24): end-of-file during read, unit -4, file CONIN$\r\n", 0), 0u)
      << result.err;
  EXPECT_EQ(result.exitStatus, 24);
  EXPECT_EQ(result.out, kPrompts + jobPrompts(1) + "  Enter the            2-th Embeding dimension ?\r\n");
}

TEST(DialogueLimits, LargeDelayAndDimensionAreAcceptedAndGiveNoVectors) {
  TempDir dir;
  dir.write("s.tms", "0\n0.5\n1\n");
  const ProgramResult result =
      runCorrsum("s.tms\n3\n2147483647\n0\n2\n3\nbig-t.dat\n2147483647\nbig-m.dat\n", dir.path());
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(readFile(dir / "big-t.dat"), "");
  EXPECT_EQ(readFile(dir / "big-m.dat"), "");
  EXPECT_NE(result.out.find(" ******* NDIM=  2147483647 **********\r\n"), std::string::npos);
}

}  // namespace
}  // namespace corrsum::testing
