// The estimate over a region: least squares, the spread of the local
// slopes, and the Takens-Theiler cross-check.
#include "report/dimension_estimate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace corrsum::report {
namespace {

std::vector<CurvePoint> powerLaw(double d, double from, double to, double step) {
  std::vector<CurvePoint> pts;
  for (double x = from; x <= to + 1e-12; x += step) pts.push_back({x, d * (x - to)});
  return pts;
}

TEST(ReportDimensionEstimate, TakensTheilerIsExactOnPowerLaws) {
  for (const double d : {0.7, 1.21, 2.5, 6.0}) {
    const std::vector<CurvePoint> pts = powerLaw(d, -4.0, 0.0, 0.013);
    const int last = static_cast<int>(pts.size()) - 1;
    EXPECT_NEAR(takensTheilerEstimate(pts, 0, last), d, 1e-9 * d);
    EXPECT_NEAR(takensTheilerEstimate(pts, 40, 120), d, 1e-9 * d);
  }
}

TEST(ReportDimensionEstimate, TakensTheilerWeighsTheTopOfTheRegion) {
  // Slope 1 below ln r = -1, slope 2 above: C is larger at the top, so the
  // cross-check leans to 2 while least squares sits near the middle.
  std::vector<CurvePoint> pts;
  for (int i = 0; i <= 200; ++i) {
    const double x = -2.0 + 0.01 * i;
    pts.push_back({x, x < -1.0 ? x - 2.0 : 2.0 * x - 1.0});
  }
  std::vector<double> slopes(pts.size(), 1.5);
  const DimensionEstimate e = estimateDimension(pts, slopes, ScalingRegion{0, 200, 1.5});
  EXPECT_NEAR(e.dimension, 1.5, 0.2);
  EXPECT_GT(e.takensTheiler, e.dimension + 0.1);
  EXPECT_LT(e.takensTheiler, 2.0);
}

TEST(ReportDimensionEstimate, EstimateOverTheRegionWithItsRanges) {
  const std::vector<CurvePoint> pts = powerLaw(1.25, -5.0, 0.0, 0.01);  // 501 points
  std::vector<double> slopes(pts.size(), 1.25);
  // The spread of the region's local slopes is their standard deviation.
  slopes[100] = 1.15;
  slopes[101] = 1.35;
  const DimensionEstimate e = estimateDimension(pts, slopes, ScalingRegion{100, 299, 1.25});
  EXPECT_NEAR(e.dimension, 1.25, 1e-12);
  EXPECT_NEAR(e.uncertainty, std::sqrt(2 * 0.01 / 200.0), 1e-12);
  EXPECT_NEAR(e.takensTheiler, 1.25, 1e-9);
  EXPECT_EQ(e.points, 200);
  EXPECT_DOUBLE_EQ(e.lnRLow, pts[100].lnR);
  EXPECT_DOUBLE_EQ(e.lnRHigh, pts[299].lnR);
  EXPECT_DOUBLE_EQ(e.cLow, std::exp(pts[100].lnC));
  EXPECT_DOUBLE_EQ(e.cHigh, std::exp(pts[299].lnC));
}

TEST(ReportDimensionEstimate, AnalysisLeavesOutRowsThatAreNotFinite) {
  std::vector<CurvePoint> rows = {{-HUGE_VAL, -9.0}, {std::nan(""), -8.0}};
  for (const CurvePoint& p : powerLaw(2.0, -4.0, 0.0, 0.005)) rows.push_back(p);
  AnalysisOptions options;
  options.region.minPairs = 0.0;
  options.region.maxC = 1.0;
  const CurveAnalysis a = analyseCurve(rows, options);
  EXPECT_EQ(a.points.size(), rows.size() - 2);
  ASSERT_EQ(a.slopes.size(), a.points.size());
  ASSERT_TRUE(a.estimate.has_value());
  EXPECT_NEAR(a.estimate->dimension, 2.0, 1e-9);
  EXPECT_NEAR(a.estimate->uncertainty, 0.0, 1e-9);

  const CurveAnalysis none = analyseCurve(std::vector<CurvePoint>{{-HUGE_VAL, 0.0}}, options);
  EXPECT_TRUE(none.points.empty());
  EXPECT_FALSE(none.estimate.has_value());
}

}  // namespace
}  // namespace corrsum::report
