// The scaling region: the widest run of steady local slopes between the
// sparse bottom and the saturated top, and the pair count behind a curve.
#include "report/scaling_region.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "report/local_slopes.h"

namespace corrsum::report {
namespace {

// A curve from its local slope s(x) on a grid of 0.005 in ln r, integrated
// and shifted so that its top is ln C = 0.
std::vector<CurvePoint> curveOfSlope(double from, double to, const std::function<double(double)>& slope) {
  std::vector<CurvePoint> pts;
  double y = 0.0;
  const int n = static_cast<int>(std::lround((to - from) / 0.005));
  for (int i = 0; i <= n; ++i) {
    const double x = from + 0.005 * i;
    if (i > 0) y += 0.005 * slope(x - 0.0025);
    pts.push_back({x, y});
  }
  for (CurvePoint& p : pts) p.lnC -= y;
  return pts;
}

// Slope 1.5 from -4 to -1; below, a slope rising as the bottom gets sparse;
// above, a slope falling to 0 as C saturates.
double threePartSlope(double x) {
  if (x < -4.0) return 1.5 + (-4.0 - x);
  if (x > -1.0) return 1.5 * std::exp(-2.0 * (x + 1.0));
  return 1.5;
}

RegionOptions noCuts() {
  RegionOptions o;
  o.minPairs = 0.0;
  o.maxC = 1.0;
  return o;
}

TEST(ReportScalingRegion, FindsTheSteadyMiddleBetweenBottomAndTop) {
  const std::vector<CurvePoint> pts = curveOfSlope(-6.0, 1.0, threePartSlope);
  const std::vector<double> slopes = localSlopes(pts, 31);
  const std::optional<ScalingRegion> region = findScalingRegion(pts, slopes, 31, noCuts());
  ASSERT_TRUE(region.has_value());
  // Slopes within 15 % of 1.5 reach down to x = -4.225 and up to about
  // -0.92, blurred by the 0.15 of the window.
  EXPECT_NEAR(pts[static_cast<std::size_t>(region->first)].lnR, -4.22, 0.06);
  EXPECT_NEAR(pts[static_cast<std::size_t>(region->last)].lnR, -0.92, 0.06);
  EXPECT_NEAR(region->medianSlope, 1.5, 1e-9);
}

TEST(ReportScalingRegion, TheWidestRunWinsNotTheFirst) {
  // Slope 1 over one unit of ln r, then slope 2 over two units.
  const std::vector<CurvePoint> pts = curveOfSlope(-3.0, 0.0, [](double x) { return x < -2.0 ? 1.0 : 2.0; });
  const std::vector<double> slopes = localSlopes(pts, 11);
  const std::optional<ScalingRegion> region = findScalingRegion(pts, slopes, 11, noCuts());
  ASSERT_TRUE(region.has_value());
  EXPECT_NEAR(region->medianSlope, 2.0, 1e-9);
  EXPECT_GT(pts[static_cast<std::size_t>(region->first)].lnR, -2.05);
  EXPECT_NEAR(pts[static_cast<std::size_t>(region->last)].lnR, -0.025, 1e-9);  // the last slope that fits
}

TEST(ReportScalingRegion, TheToleranceSetsHowFarTheRegionReaches) {
  const std::vector<CurvePoint> pts = curveOfSlope(-6.0, 1.0, threePartSlope);
  const std::vector<double> slopes = localSlopes(pts, 31);
  RegionOptions tight = noCuts();
  tight.tolerance = 0.02;
  RegionOptions loose = noCuts();
  loose.tolerance = 0.3;
  const std::optional<ScalingRegion> t = findScalingRegion(pts, slopes, 31, tight);
  const std::optional<ScalingRegion> l = findScalingRegion(pts, slopes, 31, loose);
  ASSERT_TRUE(t && l);
  EXPECT_NEAR(pts[static_cast<std::size_t>(t->first)].lnR, -4.03, 0.06);
  EXPECT_LT(pts[static_cast<std::size_t>(l->first)].lnR, -4.3);
  EXPECT_GT(pts[static_cast<std::size_t>(l->last)].lnR, pts[static_cast<std::size_t>(t->last)].lnR);
}

TEST(ReportScalingRegion, TheTopAndBottomCutsBoundTheRegion) {
  // A steady slope everywhere: only the cuts limit the region.
  const std::vector<CurvePoint> pts = curveOfSlope(-5.0, 0.0, [](double) { return 1.0; });
  const std::vector<double> slopes = localSlopes(pts, 21);
  RegionOptions o = noCuts();
  o.maxC = std::exp(-0.9975);  // ln C = ln r: the last usable point is ln r = -1
  const std::optional<ScalingRegion> region = findScalingRegion(pts, slopes, 21, o);
  ASSERT_TRUE(region.has_value());
  // The window of the last slope must end at ln r = -1: its centre is 10
  // points (0.05) below.
  EXPECT_NEAR(pts[static_cast<std::size_t>(region->last)].lnR, -1.05, 1e-9);
  EXPECT_NEAR(pts[static_cast<std::size_t>(region->first)].lnR, -4.95, 1e-9);
}

TEST(ReportScalingRegion, NoRegionWhenTooFewPointsOrNoSteadySlopes) {
  const std::vector<CurvePoint> shortCurve = curveOfSlope(-1.0, 0.0, [](double) { return 1.0; });  // 201 points
  EXPECT_FALSE(findScalingRegion(shortCurve, localSlopes(shortCurve, 31), 31, [] {
                 RegionOptions o = noCuts();
                 o.maxC = std::exp(-0.9);  // leaves 21 usable points
                 return o;
               }()).has_value());
  // The slope doubles every 0.1 in ln r: no 31-point run stays within 15 %.
  const std::vector<CurvePoint> steep = curveOfSlope(-3.0, 0.0, [](double x) { return std::exp(-6.93 * x); });
  EXPECT_FALSE(findScalingRegion(steep, localSlopes(steep, 31), 31, noCuts()).has_value());
}

// C = k / 200 at the given counts k, one row each.
std::vector<CurvePoint> countsCurve(const std::vector<int>& counts) {
  std::vector<CurvePoint> pts;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    pts.push_back({-5.0 + 0.01 * static_cast<double>(i), std::log(static_cast<float>(counts[i]) / 200.0f)});
  }
  return pts;
}

TEST(ReportScalingRegion, PairCountFromTheSmallestRiseAtTheBottom) {
  EXPECT_NEAR(estimatePairCount(countsCurve({1, 2, 4, 7, 11, 50, 120, 200})), 200.0, 1e-3);
  // Counts that never rise by one pair give a lower count, never a higher.
  EXPECT_NEAR(estimatePairCount(countsCurve({3, 6, 9, 30, 200})), 200.0 / 3.0, 1e-3);
  // No rise at all: the smallest C is taken as one pair.
  EXPECT_NEAR(estimatePairCount(countsCurve({200, 200})), 1.0, 1e-9);
}

TEST(ReportScalingRegion, UsableRangeLeavesOutSparseBottomAndSaturatedTop) {
  std::vector<int> counts;
  for (int k = 1; k <= 200; ++k) counts.push_back(k);
  const std::vector<CurvePoint> pts = countsCurve(counts);
  RegionOptions o;
  o.minPairs = 5.0;
  o.maxC = 0.5;
  const UsableRange r = usableRange(pts, o);
  EXPECT_EQ(r.first, 4);   // 5 pairs
  EXPECT_EQ(r.last, 99);   // C = 100 / 200
  o.minPairs = 500.0;
  const UsableRange none = usableRange(pts, o);
  EXPECT_GT(none.first, none.last);
}

}  // namespace
}  // namespace corrsum::report
