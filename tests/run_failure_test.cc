// RunFailure: the report line, the system-error line and the end of the run
// they lead to.
#include "failure/run_failure.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "tests/program_run.h"

namespace corrsum {
namespace {

TEST(ReportLine, PlaceholdersFilledInOrder) {
  struct Case {
    RunFailure failure;
    const char* line;
  };
  const Case cases[] = {
      {{failures::fileNotFound, 7, "/tmp/run/x.tms"}, "corrsum: severe (29): file not found, unit 7, file /tmp/run/x.tms\r\n"},
      // Console units keep their minus sign.
      {{failures::syntaxError, -4, "CONIN$"}, "corrsum: severe (59): list-directed I/O syntax error, unit -4, file CONIN$\r\n"},
      {{failures::errorDuringWrite, -1, "CONOUT$"}, "corrsum: severe (38): error during write, unit -1, file CONOUT$\r\n"},
      // The name exactly as stored: blanks and a percent sign stay as they are.
      {{failures::cannotOverwrite, 8, "/d/a %s b.dat"}, "corrsum: severe (10): cannot overwrite existing file, unit 8, file /d/a %s b.dat\r\n"},
      {{failures::consoleEvent, 0, "control-BREAK"}, "corrsum: error (200): program aborting due to control-BREAK event\r\n"},
      {{failures::decorrelationTimeOutOfRange, -5, {}},
       "corrsum: severe (171): decorrelation time T=-5 is out of range, allowed are 1 to 2147483647\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(formatReportLine(c.failure), c.line);
}

TEST(SystemErrorLine, SystemTextWithCrLf) {
  EXPECT_EQ(formatSystemErrorLine(ENOSPC), "corrsum: No space left on device\r\n");
  EXPECT_EQ(formatSystemErrorLine(EISDIR), "corrsum: Is a directory\r\n");
}

TEST(EndRun, SevereReportWithBlockAndCodeAsStatus) {
  const auto result = testing::runInChild([] { endRun(RunFailure{failures::fileNotFound, 7, "/x/s.tms"}); });
  EXPECT_EQ(result.exitStatus, 29);
  EXPECT_EQ(result.out, "");
  const std::string line = "corrsum: severe (29): file not found, unit 7, file /x/s.tms\r\n";
  ASSERT_EQ(result.err.substr(0, line.size()), line);
  EXPECT_EQ(testing::tracebackBlockFault(std::string_view(result.err).substr(line.size()), "corrsum_tests"), "");
}

TEST(EndRun, SystemLineComesFirst) {
  const auto result = testing::runInChild([] { endRun(RunFailure{failures::errorDuringWrite, 8, "/x/c.dat", EFBIG}); });
  EXPECT_EQ(result.exitStatus, 38);
  const std::string lines =
      "corrsum: File too large\r\n"
      "corrsum: severe (38): error during write, unit 8, file /x/c.dat\r\n";
  ASSERT_EQ(result.err.substr(0, lines.size()), lines);
  EXPECT_EQ(testing::tracebackBlockFault(std::string_view(result.err).substr(lines.size()), "corrsum_tests"), "");
}

TEST(EndRun, ErrorReportHasNoBlock) {
  const auto result = testing::runInChild([] { endRun(RunFailure{failures::consoleEvent, 0, "control-C"}); });
  EXPECT_EQ(result.err, "corrsum: error (200): program aborting due to control-C event\r\n");
}

}  // namespace
}  // namespace corrsum
