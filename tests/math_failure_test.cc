// The checked logarithm of the curve values and the math form it ends with.
#include "failure/math_failure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/program_run.h"

namespace corrsum {
namespace {

TEST(CheckedLog, PositiveArgumentsGiveTheirLogarithm) {
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  const float smallestSubnormal = std::numeric_limits<float>::denorm_min();
  EXPECT_EQ(checkedLog(1.0f), 0.0);
  EXPECT_EQ(checkedLog(0.5f), std::log(0.5));
  EXPECT_EQ(checkedLog(smallestSubnormal), std::log(static_cast<double>(smallestSubnormal)));
  EXPECT_EQ(checkedLog(kInfinity), std::numeric_limits<double>::infinity());
}

TEST(CheckedLog, RefusedArgumentsEndInTheMathForm) {
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  struct Case {
    float argument;
    const char* lines;
  };
  const char* sing = "\r\nrun-time error M6202: MATH\r\n- log: SING error\r\n";
  const char* domain = "\r\nrun-time error M6201: MATH\r\n- log: DOMAIN error\r\n";
  const Case cases[] = {
      {0.0f, sing},
      {-0.0f, sing},
      {-1.0f, domain},
      {-std::numeric_limits<float>::denorm_min(), domain},
      {-kInfinity, domain},
      {std::numeric_limits<float>::quiet_NaN(), domain},
      {-std::numeric_limits<float>::quiet_NaN(), domain},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.argument);
    const auto result = testing::runInChild([&] { (void)checkedLog(c.argument); });
    EXPECT_EQ(result.exitStatus, 3);
    EXPECT_EQ(result.out, "");
    const std::string lines = c.lines;
    ASSERT_EQ(result.err.substr(0, lines.size()), lines);
    EXPECT_EQ(testing::tracebackBlockFault(std::string_view(result.err).substr(lines.size()), "corrsum_tests"), "");
  }
}

}  // namespace
}  // namespace corrsum
