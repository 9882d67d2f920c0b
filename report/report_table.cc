#include "report/report_table.h"

#include <cstdio>

namespace corrsum::report {

std::string formatReportTable(std::span<const TableRow> rows, const ConvergenceVerdict& verdict) {
  char line[512];
  std::snprintf(line, sizeof line, "%4s  %-18s  %-20s  %6s  %5s  %14s  %s\n", "NDIM", "region in ln r",
                "C in the region", "D", "+-", "Takens-Theiler", "file");
  std::string out = line;
  for (const TableRow& row : rows) {
    if (row.estimate) {
      const DimensionEstimate& e = *row.estimate;
      std::snprintf(line, sizeof line, "%4d  %7.3f .. %7.3f  %8.2e .. %8.2e  %6.3f  %5.3f  %14.3f  %s\n", row.ndim,
                    e.lnRLow, e.lnRHigh, e.cLow, e.cHigh, e.dimension, e.uncertainty, e.takensTheiler,
                    row.file.c_str());
    } else {
      std::snprintf(line, sizeof line, "%4d  %-71s  %s\n", row.ndim, "no scaling region", row.file.c_str());
    }
    out += line;
  }
  out += "\n" + convergenceStatement(verdict) + "\n";
  return out;
}

}  // namespace corrsum::report
