// ListReader: one free-format value per read, from the console answers and
// from the series file.
#pragma once

#include <cstdint>
#include <string>

#include "textio/record_source.h"

namespace corrsum {

/// Why a read stopped. Each maps onto one failure of the run (the reader's
/// caller decides; see ListReader::readInteger).
enum class ReadStatus {
  value,            ///< the target holds the value read
  nullValue,        ///< a comma, a slash, or "3*": the target is unchanged
  endOfInput,       ///< no further value: failure 24 on the console, the end of the series in a file
  readError,        ///< the system refused a read (39, with its error number)
  syntaxError,      ///< a malformed number token, an asterisk alone (59)
  conversionError,  ///< out of range, a quoted string, an inner sign ... (64)
  recordTooLong,    ///< a record could not be held (22)
};

struct ReadResult {
  ReadStatus status;
  int systemError = 0;  ///< errno, for readError
};

/// Reads one value per call from the next record of `source`; whatever the
/// previous read left on its record is never seen. Blank and empty records
/// are passed over.
///  - "  42  " gives 42; "42 17" gives 42 and 17 is lost.
///  - Integer targets: "3.7" 3, "-3.7" -3, "1E3" 1000, "2.5E9" -1794967296,
///    "T" -1, "F" 0, "2147483648" and "1+2" conversion errors.
///  - Real targets: "1-2" 0.01, "1.0+2" 100, "2.5d-1" 0.25, "1.0e39"
///    conversion error, "1.0e-50" 0.0.
class ListReader {
 public:
  ListReader(RecordSource& source, std::int32_t unitNumber, std::string unitName)
      : source_(source), unitNumber_(unitNumber), unitName_(std::move(unitName)) {}

  ReadResult readIntegerValue(std::int32_t& target);
  ReadResult readRealValue(float& target);

  /// A console answer. Ends the run on anything but a value or a null
  /// value: the end of input with failure 24, the others as listed above,
  /// naming this reader's unit.
  void readInteger(std::int32_t& target);
  /// A series value. Returns false at the end of the series; ends the run
  /// on every failure.
  bool readReal(float& target);

 private:
  [[noreturn]] void fail(const ReadResult& result) const;

  RecordSource& source_;
  std::int32_t unitNumber_;
  std::string unitName_;
};

}  // namespace corrsum
