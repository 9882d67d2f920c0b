#include <cstdio>
#include <string>
#include <vector>

#include "report/report_run.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string out;
  std::string err;
  const int status = corrsum::report::runReport(args, out, err);
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  std::fwrite(err.data(), 1, err.size(), stderr);
  // A table that could not be written is a failed report too.
  if (std::ferror(stdout)) {
    std::fputs("corrsum-report: cannot write the table to standard output\n", stderr);
    return status == 0 ? corrsum::report::kExitBadInput : status;
  }
  return status;
}
