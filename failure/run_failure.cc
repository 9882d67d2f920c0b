#include "failure/run_failure.h"

#include <cstring>

#include "failure/run_end.h"
#include "failure/traceback_block.h"

namespace corrsum {

std::string formatReportLine(const RunFailure& failure) {
  std::string line(kReportPrefix);
  line += ": ";
  line += severityWord(failure.code.severity());
  line += " (";
  line += std::to_string(failure.code.number());
  line += "): ";
  std::string_view text = catalogText(failure.code);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 'd') {
      line += std::to_string(failure.integerArgument);
      ++i;
    } else if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == 's') {
      line += failure.textArgument;
      ++i;
    } else {
      line += text[i];
    }
  }
  return line;
}

std::string formatSystemErrorLine(int systemError) {
  std::string line(kReportPrefix);
  line += ": ";
  line += std::strerror(systemError);
  line += "\r\n";
  return line;
}

void endRun(const RunFailure& failure) {
  const std::string systemLine = failure.systemError != 0 ? formatSystemErrorLine(failure.systemError) : "";
  std::string report = formatReportLine(failure);
  const bool severe = failure.code.severity() == Severity::severe;
  if (severe) report += captureTracebackBlock();
  terminateRun(report, severe ? failure.code.value() : failure.code.number(), systemLine);
}

}  // namespace corrsum
