#include "report/report_run.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "report/convergence.h"
#include "report/curve_file.h"
#include "report/dimension_estimate.h"
#include "report/report_arguments.h"
#include "report/report_table.h"
#include "report/svg_plot.h"

namespace corrsum::report {
namespace {

constexpr std::string_view kProgram = "corrsum-report: ";

// The whole file, or the system's reason for not giving it.
bool readWholeFile(const std::string& path, std::string& bytes, std::string& reason) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    reason = "cannot open: " + std::string(std::strerror(EISDIR));
    return false;
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    reason = std::string("cannot open: ") + (errno != 0 ? std::strerror(errno) : "unknown error");
    return false;
  }
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) {
    reason = std::string("cannot read: ") + (errno != 0 ? std::strerror(errno) : "unknown error");
    return false;
  }
  bytes = std::move(content).str();
  return true;
}

}  // namespace

int runReport(std::span<const std::string> args, std::string& out, std::string& err) {
  const ArgumentsResult parsed = parseReportArguments(args);
  if (!parsed.arguments) {
    err += std::string(kProgram) + parsed.error + "\n" + std::string(kUsage);
    return kExitUsage;
  }
  const ReportArguments& a = *parsed.arguments;
  if (a.help) {
    out += kUsage;
    return kExitReported;
  }

  std::vector<CurveReadResult> curves;
  bool allRead = true;
  for (const std::string& file : a.files) {
    std::string bytes;
    std::string reason;
    CurveReadResult curve;
    if (!readWholeFile(file, bytes, reason)) {
      err += std::string(kProgram) + file + ": " + reason + "\n";
      allRead = false;
    } else if (curve = readCurve(bytes); !curve.ok()) {
      err += std::string(kProgram) + file + ": line " + std::to_string(curve.faultLine) + ": malformed row: " +
             curve.fault + "\n";
      allRead = false;
    } else if (curve.points.empty()) {
      err += std::string(kProgram) + file + ": empty curve: the file holds no rows (its job counted no pairs)\n";
      allRead = false;
    }
    curves.push_back(std::move(curve));
  }
  if (!allRead) return kExitBadInput;

  std::vector<TableRow> rows;
  std::vector<DimensionResult> results;
  std::vector<PlotCurve> plotCurves;
  for (std::size_t i = 0; i < curves.size(); ++i) {
    CurveAnalysis analysis = analyseCurve(curves[i].points, a.analysis);
    rows.push_back(TableRow{a.dims[i], a.files[i], analysis.estimate});
    DimensionResult result{a.dims[i], std::nullopt, 0.0};
    if (analysis.estimate) {
      result.estimate = analysis.estimate->dimension;
      result.uncertainty = analysis.estimate->uncertainty;
    }
    results.push_back(result);
    plotCurves.push_back(PlotCurve{a.dims[i], std::move(analysis.points), std::move(analysis.slopes),
                                   analysis.region, analysis.estimate});
  }
  const ConvergenceVerdict verdict = judgeConvergence(results);
  out += formatReportTable(rows, verdict);

  if (!a.plotPath.empty()) {
    const std::optional<double> converged =
        verdict.kind == ConvergenceVerdict::Kind::converged ? std::optional<double>(verdict.value) : std::nullopt;
    const std::string svg = renderPlotSvg(plotCurves, converged);
    errno = 0;
    std::ofstream plot(a.plotPath, std::ios::binary | std::ios::trunc);
    if (plot) plot.write(svg.data(), static_cast<std::streamsize>(svg.size()));
    if (plot) plot.close();
    if (!plot) {
      err += std::string(kProgram) + a.plotPath + ": cannot write the figure: " +
             (errno != 0 ? std::strerror(errno) : "unknown error") + "\n";
      return kExitBadInput;
    }
  }
  return kExitReported;
}

}  // namespace corrsum::report
