// The example run end to end: the console and the curve file byte for byte.
#include <gtest/gtest.h>

#include "tests/program_run.h"

namespace corrsum::testing {
namespace {

TEST(ExampleRun, ConsoleAndCurveFileByteForByte) {
  TempDir dir;
  dir.write("s.tms", "0\n0.5\n1\n");
  const ProgramResult result = runCorrsum("s.tms\n3\n1\n0\n1\n1\nc1.dat\n", dir.path());
  const std::string name64 = "c1.dat" + std::string(58, ' ');
  EXPECT_EQ(result.out,
            "  Enter INPUT FileName (----.TMS)\r\n"
            "  Enter the number of points in the INPUT File\r\n"
            "  Enter the Decorrelation Time T=?\r\n"
            "  Extend the dynamic range (1-YES 0-NO) ?\r\n"
            "  1-YES is recommended for very small numbers\r\n"
            "  Enter the NUMBER of Embed.-Dimens. to be used\r\n"
            "  Enter the            1-th Embeding dimension ?\r\n"
            "  Enter the            1-th OUTPUT FileName (----.dat)\r\n"
            "  Number of points in the input-Filename =           3\r\n"
            "  ****START CALCULATIONS *****\r\n"
            "\r\n\r\n"
            " ******* NDIM=           1 **********\r\n"
            " ******* Filename=\r\n"
            " " + name64 + " ***\r\n"
            "\r\n\r\n"
            "  Minimum number in the time-series=   0.0000000E+00\r\n"
            "  Maximum number in the time-series=    1.000000    \r\n"
            "  R-Maximum =    1.000000    \r\n"
            "  Rat=   1000000.    \r\n");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.exitStatus, 0);

  const std::string curve = readFile(dir / "c1.dat");
  ASSERT_EQ(curve.size(), 163u * 32u);
  EXPECT_EQ(curve.substr(0, 64), " -0.6891631      0.0000000E+00\r\n -0.6852105      0.0000000E+00\r\n");
  EXPECT_EQ(curve.substr(curve.size() - 32), " -5.0024374E-04  0.0000000E+00\r\n");
}

}  // namespace
}  // namespace corrsum::testing
