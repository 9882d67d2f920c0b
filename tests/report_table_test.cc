// The table on standard output, laid out column for column.
#include "report/report_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace corrsum::report {
namespace {

TEST(ReportTable, RowsColumnsAndTheVerdict) {
  DimensionEstimate e2;
  e2.dimension = 1.2092;
  e2.uncertainty = 0.0613;
  e2.takensTheiler = 1.1576;
  e2.lnRLow = -4.1504;
  e2.lnRHigh = -0.0519;
  e2.cLow = 2.8134e-3;
  e2.cHigh = 0.40213;
  DimensionEstimate e10 = e2;
  e10.lnRLow = -12.5;
  e10.lnRHigh = 0.4321;
  e10.dimension = 10.25;
  const std::vector<TableRow> rows = {
      {2, "c2.dat", e2}, {3, "run/c3.dat", std::nullopt}, {10, "c10.dat", e10}};
  const std::vector<DimensionResult> results = {{2, 1.2092, 0.0613}, {3, std::nullopt, 0.0}, {10, 10.25, 0.0613}};
  EXPECT_EQ(formatReportTable(rows, judgeConvergence(results)),
            "NDIM  region in ln r      C in the region            D     +-  Takens-Theiler  file\n"
            "   2   -4.150 ..  -0.052  2.81e-03 .. 4.02e-01   1.209  0.061           1.158  c2.dat\n"
            "   3  no scaling region                                                        run/c3.dat\n"
            "  10  -12.500 ..   0.432  2.81e-03 .. 4.02e-01  10.250  0.061           1.158  c10.dat\n"
            "\n"
            "Convergence cannot be judged: NDIM 3 has no scaling region.\n");
}

}  // namespace
}  // namespace corrsum::report
