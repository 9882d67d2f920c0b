// Convergence over the embedding dimensions: which dimensions are compared,
// when they agree, and the sentence that says so.
#include "report/convergence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corrsum::report {
namespace {

using Kind = ConvergenceVerdict::Kind;

DimensionResult est(int ndim, double d, double u) { return DimensionResult{ndim, d, u}; }
DimensionResult none(int ndim) { return DimensionResult{ndim, std::nullopt, 0.0}; }

TEST(ReportConvergence, VerdictsOverTheLastDimensions) {
  struct Case {
    const char* name;
    std::vector<DimensionResult> results;
    Kind kind;
    std::vector<int> compared;
  };
  const Case cases[] = {
      {"one dimension", {est(3, 1.2, 0.05)}, Kind::singleDimension, {3}},
      {"two that agree", {est(2, 1.20, 0.03), est(3, 1.25, 0.03)}, Kind::converged, {2, 3}},
      {"two that just agree", {est(2, 1.0, 0.25), est(3, 1.5, 0.25)}, Kind::converged, {2, 3}},
      {"two that do not", {est(2, 1.20, 0.02), est(3, 1.25, 0.02)}, Kind::notConverged, {2, 3}},
      {"noise grows with m", {est(1, 0.97, 0.04), est(2, 1.93, 0.09), est(3, 2.86, 0.15)}, Kind::notConverged,
       {1, 2, 3}},
      // Only the last three count: NDIM 1 and 2 are still rising.
      {"early dimensions ignored",
       {est(1, 0.94, 0.04), est(2, 1.05, 0.04), est(3, 1.22, 0.05), est(4, 1.24, 0.04), est(5, 1.23, 0.06)},
       Kind::converged,
       {3, 4, 5}},
      // The first and last of three disagree although neighbours agree.
      {"pairwise, not neighbour-wise", {est(3, 1.0, 0.06), est(4, 1.1, 0.06), est(5, 1.2, 0.06)},
       Kind::notConverged, {3, 4, 5}},
      {"order given does not matter", {est(5, 1.23, 0.06), est(3, 1.22, 0.05), est(4, 1.24, 0.04)},
       Kind::converged, {3, 4, 5}},
      {"a missing estimate among the last", {est(2, 1.2, 0.05), none(3), est(4, 1.2, 0.05)},
       Kind::missingEstimate, {2, 3, 4}},
      {"a missing estimate before them", {none(1), est(2, 1.2, 0.05), est(3, 1.2, 0.05), est(4, 1.2, 0.05)},
       Kind::converged, {2, 3, 4}},
  };
  for (const Case& c : cases) {
    const ConvergenceVerdict v = judgeConvergence(c.results);
    EXPECT_EQ(v.kind, c.kind) << c.name;
    std::vector<int> compared;
    for (const DimensionResult& r : v.compared) compared.push_back(r.ndim);
    EXPECT_EQ(compared, c.compared) << c.name;
  }
}

TEST(ReportConvergence, ConvergedValueIsTheMeanWithTheLargestUncertainty) {
  const std::vector<DimensionResult> results = {est(3, 1.22, 0.04), est(4, 1.24, 0.05), est(5, 1.23, 0.06)};
  const ConvergenceVerdict v = judgeConvergence(results);
  ASSERT_EQ(v.kind, Kind::converged);
  EXPECT_NEAR(v.value, 1.23, 1e-12);
  EXPECT_EQ(v.uncertainty, 0.06);
}

TEST(ReportConvergence, StatementsSayPlainlyWhatTheEstimatesShow) {
  struct Case {
    std::vector<DimensionResult> results;
    std::string statement;
  };
  const Case cases[] = {
      {{est(3, 1.22, 0.04), est(4, 1.24, 0.05), est(5, 1.23, 0.06)},
       "The estimates converge: NDIM 3 to 5 agree within their uncertainty, D = 1.230 +- 0.060."},
      {{est(2, 1.20, 0.03), est(3, 1.25, 0.03)},
       "The estimates converge: NDIM 2 and 3 agree within their uncertainty, D = 1.225 +- 0.030."},
      {{est(1, 0.97, 0.04), est(2, 1.93, 0.09), est(3, 2.86, 0.15)},
       "The estimates do not converge: NDIM 1 to 3 give 0.970 +- 0.040, 1.930 +- 0.090, 2.860 +- 0.150, "
       "which differ by more than their uncertainty."},
      {{est(2, 1.2, 0.05)},
       "Convergence cannot be judged from one embedding dimension: give the curve files of several."},
      {{none(2), none(3), est(4, 1.2, 0.05)}, "Convergence cannot be judged: NDIM 2 and 3 have no scaling region."},
      {{est(3, 1.2, 0.05), none(4)}, "Convergence cannot be judged: NDIM 4 has no scaling region."},
  };
  for (const Case& c : cases) EXPECT_EQ(convergenceStatement(judgeConvergence(c.results)), c.statement);
}

}  // namespace
}  // namespace corrsum::report
