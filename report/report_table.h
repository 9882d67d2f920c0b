// The table on standard output: one line per curve file, then the verdict
// on convergence.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "report/convergence.h"
#include "report/dimension_estimate.h"

namespace corrsum::report {

/// One line of the table, in the order the files were given.
struct TableRow {
  int ndim = 0;
  std::string file;
  std::optional<DimensionEstimate> estimate;
};

/// The header, one line per row and, after an empty line, the convergence
/// statement; LF line ends. A row reads
/// "   2   -4.150 ..  -0.052  2.81e-03 .. 4.02e-01   1.209  0.061           1.158  c2.dat"
/// (ln r from .. to, C from .. to, D, its uncertainty, the Takens-Theiler
/// estimate, the file) and one without a scaling region
/// "   3  no scaling region" padded to the file column, then "c3.dat".
std::string formatReportTable(std::span<const TableRow> rows, const ConvergenceVerdict& verdict);

}  // namespace corrsum::report
