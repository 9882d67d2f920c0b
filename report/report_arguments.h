// The command line of corrsum-report.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "report/dimension_estimate.h"

namespace corrsum::report {

inline constexpr std::string_view kUsage =
    "usage: corrsum-report [options] FILE...\n"
    "  FILE...           the curve files of one run, one per embedding dimension\n"
    "  --dims LIST       the embedding dimension of each file in order, e.g. 1,2,3\n"
    "                    (default: the last number in each file name, as in c3.dat)\n"
    "  --plot FILE.svg   also draw the curves and their local slopes into FILE.svg\n"
    "  --window N        points in the sliding window of the local slopes (odd, at least 3; default 31)\n"
    "  --tolerance X     local slopes of the scaling region stay within X times their median (default 0.15)\n"
    "  --min-pairs N     leave out the bottom of each curve, below N pairs (default 50)\n"
    "  --max-c X         leave out the top of each curve, above C = X (default 0.5)\n"
    "  --help            show this text\n";

struct ReportArguments {
  std::vector<std::string> files;
  /// One per file, from --dims or from the file names.
  std::vector<int> dims;
  std::string plotPath;
  AnalysisOptions analysis;
  bool help = false;
};

/// The arguments after the program name, or the reason they are not
/// usable (a one-line message without the program's name). Options take
/// their value as the next argument or after "=" ("--window=41"); "--"
/// ends the options. "--dims 2,3 c2.dat c3.dat" gives files c2.dat, c3.dat
/// with dims 2, 3.
struct ArgumentsResult {
  std::optional<ReportArguments> arguments;
  std::string error;
};
ArgumentsResult parseReportArguments(std::span<const std::string> args);

/// The last run of digits in the file's name, without its folder and
/// extension: "run1/c3.dat" gives 3, "henon-d12.dat" 12, "curve.dat"
/// nothing. A run that is 0 or beyond 1000000 gives nothing too.
std::optional<int> dimensionFromFileName(std::string_view path);

}  // namespace corrsum::report
