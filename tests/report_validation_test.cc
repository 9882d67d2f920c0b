// The report on series whose correlation dimension is known, with curves
// made by corrsum's own engine and record writer.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "report/convergence.h"
#include "report/curve_file.h"
#include "report/dimension_estimate.h"
#include "tests/report_curve_maker.h"

namespace corrsum::report {
namespace {

DimensionEstimate estimateFor(const std::vector<float>& series, int ndim) {
  const CurveReadResult curve = readCurve(testing::curveFileFor(series, ndim));
  EXPECT_TRUE(curve.ok()) << curve.fault;
  const CurveAnalysis analysis = analyseCurve(curve.points, AnalysisOptions{});
  EXPECT_TRUE(analysis.estimate.has_value()) << "NDIM " << ndim;
  return analysis.estimate.value_or(DimensionEstimate{});
}

TEST(ReportValidation, HenonMapGivesItsDimensionAndConverges) {
  // Published correlation dimension 1.21 +- 0.01.
  const std::vector<float> series = testing::henonSeries(3000);
  std::vector<DimensionResult> results;
  for (int m = 2; m <= 5; ++m) {
    const DimensionEstimate e = estimateFor(series, m);
    std::printf("Henon NDIM %d: D = %.3f +- %.3f, Takens-Theiler %.3f\n", m, e.dimension, e.uncertainty,
                e.takensTheiler);
    EXPECT_NEAR(e.dimension, 1.21, 0.05) << "NDIM " << m;
    EXPECT_NEAR(e.takensTheiler, 1.21, 0.1) << "NDIM " << m;
    results.push_back({m, e.dimension, e.uncertainty});
  }
  const ConvergenceVerdict v = judgeConvergence(results);
  EXPECT_EQ(v.kind, ConvergenceVerdict::Kind::converged);
  EXPECT_NEAR(v.value, 1.21, 0.05);
}

TEST(ReportValidation, UniformNoiseFillsEveryEmbeddingDimension) {
  // Edge effects of the unit cube lower the slope a little, more so as m
  // grows; the estimates never settle.
  const std::vector<float> series = testing::uniformSeries(3000);
  std::vector<DimensionResult> results;
  for (int m = 1; m <= 3; ++m) {
    const DimensionEstimate e = estimateFor(series, m);
    std::printf("uniform NDIM %d: D = %.3f +- %.3f, Takens-Theiler %.3f\n", m, e.dimension, e.uncertainty,
                e.takensTheiler);
    EXPECT_NEAR(e.dimension, m, 0.2) << "NDIM " << m;
    results.push_back({m, e.dimension, e.uncertainty});
  }
  EXPECT_EQ(judgeConvergence(results).kind, ConvergenceVerdict::Kind::notConverged);
}

TEST(ReportValidation, SineWaveIsACurve) {
  // One radian a step: the delay vectors trace a well-opened ellipse.
  const std::vector<float> series = testing::sineSeries(3000, 1.0);
  std::vector<DimensionResult> results;
  for (int m = 2; m <= 3; ++m) {
    const DimensionEstimate e = estimateFor(series, m);
    std::printf("sine NDIM %d: D = %.3f +- %.3f, Takens-Theiler %.3f\n", m, e.dimension, e.uncertainty,
                e.takensTheiler);
    EXPECT_NEAR(e.dimension, 1.0, 0.05) << "NDIM " << m;
    results.push_back({m, e.dimension, e.uncertainty});
  }
  const ConvergenceVerdict v = judgeConvergence(results);
  EXPECT_EQ(v.kind, ConvergenceVerdict::Kind::converged);
  EXPECT_NEAR(v.value, 1.0, 0.05);
}

}  // namespace
}  // namespace corrsum::report
