// Local slopes: exact on power laws, NaN where the window does not fit,
// and local where the curve bends.
#include "report/local_slopes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace corrsum::report {
namespace {

// ln C = d ln r + c at irregularly spaced ln r, like the sampled bins.
std::vector<CurvePoint> powerLaw(double d, double c, int n) {
  std::vector<CurvePoint> pts;
  double x = -6.0;
  for (int i = 0; i < n; ++i) {
    pts.push_back({x, d * x + c});
    x += 0.004 + 0.003 * ((i * 7) % 5);
  }
  return pts;
}

TEST(ReportLocalSlopes, PowerLawsGiveTheirExponentEverywhere) {
  for (const double d : {0.5, 1.21, 3.0, 7.25}) {
    const std::vector<CurvePoint> pts = powerLaw(d, -0.7, 200);
    EXPECT_NEAR(leastSquaresSlope(pts), d, 1e-12 * d);
    for (const int window : {3, 31, 101}) {
      const std::vector<double> s = localSlopes(pts, window);
      ASSERT_EQ(s.size(), pts.size());
      for (std::size_t i = window / 2; i + window / 2 < s.size(); ++i) {
        ASSERT_NEAR(s[i], d, 1e-9 * d) << "window " << window << " point " << i;
      }
    }
  }
}

TEST(ReportLocalSlopes, PointsWhoseWindowDoesNotFitGetNaN) {
  const std::vector<CurvePoint> pts = powerLaw(2.0, 0.0, 5);
  const std::vector<double> s = localSlopes(pts, 3);
  EXPECT_TRUE(std::isnan(s[0]));
  EXPECT_TRUE(std::isnan(s[4]));
  for (int i = 1; i <= 3; ++i) EXPECT_NEAR(s[static_cast<std::size_t>(i)], 2.0, 1e-12);
  for (const double v : localSlopes(pts, 7)) EXPECT_TRUE(std::isnan(v));
  EXPECT_TRUE(localSlopes({}, 3).empty());
}

TEST(ReportLocalSlopes, SlopesFollowABendAndOnlyNearItMixBothSides) {
  // Slope 1 up to ln r = 0, slope 2 after it, on a uniform grid.
  std::vector<CurvePoint> pts;
  for (int i = -100; i <= 100; ++i) {
    const double x = 0.01 * i;
    pts.push_back({x, x < 0 ? x : 2 * x});
  }
  const std::vector<double> s = localSlopes(pts, 11);
  EXPECT_NEAR(s[50], 1.0, 1e-12);   // x = -0.5
  EXPECT_NEAR(s[150], 2.0, 1e-12);  // x = 0.5
  EXPECT_GT(s[100], 1.2);           // the window straddles the bend
  EXPECT_LT(s[100], 1.8);
  EXPECT_NEAR(s[94], 1.0, 1e-12);   // the last window wholly before it
}

}  // namespace
}  // namespace corrsum::report
