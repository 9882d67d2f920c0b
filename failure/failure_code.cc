#include "failure/failure_code.h"

namespace corrsum {

std::string_view catalogText(FailureCode code) {
  switch (code.number()) {
    case 9: return "permission to access file denied, unit %d, file %s\r\n";
    case 10: return "cannot overwrite existing file, unit %d, file %s\r\n";
    case 22: return "input record too long, unit %d, file %s\r\n";
    case 24: return "end-of-file during read, unit %d, file %s\r\n";
    case 28: return "CLOSE error, unit %d, file %s\r\n";
    case 29: return "file not found, unit %d, file %s\r\n";
    case 30: return "open failure, unit %d, file %s\r\n";
    case 38: return "error during write, unit %d, file %s\r\n";
    case 39: return "error during read, unit %d, file %s\r\n";
    case 42: return "no such device, unit %d, file %s\r\n";
    case 43: return "file name specification error, unit %d, file %s\r\n";
    case 59: return "list-directed I/O syntax error, unit %d, file %s\r\n";
    case 64: return "input conversion error, unit %d, file %s\r\n";
    case 171: return "decorrelation time T=%d is out of range, allowed are 1 to 2147483647\r\n";
    case 172: return "embedding dimension NDIM=%d is out of range, allowed are 1 to 2147483647\r\n";
    case 173: return "number of points %d is out of range, allowed are at most 150000\r\n";
    case 174: return "the series has no spread, no distance bin can be formed, unit %d, file %s\r\n";
    case 200: return "program aborting due to %s event\r\n";
    default: return {};
  }
}

std::string_view severityWord(Severity severity) {
  switch (severity) {
    case Severity::info: return "info";
    case Severity::error: return "error";
    case Severity::severe: return "severe";
  }
  return "severe";
}

}  // namespace corrsum
