// ListReader: one free-format value per read, from the console answers and
// from the series file.
#pragma once

#include <cstdint>
#include <string>

#include "textio/number_token.h"
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

/// What, within a status, stopped the read: tests and reports can tell a
/// quoted string from an out-of-range number, both conversion errors.
enum class ReadCause {
  none,
  numberSyntax,         ///< syntaxError: `syntax` says which rule
  repeatWithoutCount,   ///< syntaxError: "*7", an asterisk with nothing before
  parenthesis,          ///< syntaxError: every parenthesised value is refused
  longQuotedString,     ///< syntaxError: a quoted string of more than 2049 characters
  quotedString,         ///< conversionError: a quoted string is never a number
  repeatCountNotInteger,///< conversionError: "2.5*7", "1-2*7"
  numberConversion,     ///< conversionError: `conversion` says why
};

struct ReadResult {
  ReadStatus status;
  int systemError = 0;  ///< errno, for readError
  ReadCause cause = ReadCause::none;
  TokenSyntax syntax = TokenSyntax::valid;                      ///< for numberSyntax
  ConversionStatus conversion = ConversionStatus::converted;  ///< for numberConversion
};

/// The longest quoted string that is refused as a conversion error; a longer
/// one is a syntax error. Line ends inside a string are not counted, and a
/// doubled quote counts as one character.
inline constexpr std::size_t kQuotedStringLimit = 2049;

/// Reads one value per call from the next record of `source`; whatever the
/// previous read left on its record is never seen. Blanks and tabs are
/// skipped, and blank and empty records passed over. The first other byte
/// decides:
///  - ',' or '/': nullValue, the target keeps its value;
///  - ' or ": a quoted string, over as many records as it needs ('' inside
///    stands for '), then conversionError (or syntaxError beyond 2049
///    characters); a string still open at the end of input is endOfInput;
///  - T, t, F, f, or '.' and one of them: a truth value, -1 for true and 0
///    for false, whatever follows up to the next blank, tab, comma, slash or
///    ')' ("fred" is false, ".TRUE." true);
///  - '(': syntaxError;
///  - anything else: a number token (textio/number_token.h), up to a blank,
///    tab, comma, slash, ')', '*' or the record's end. At an asterisk the
///    token is a repeat count, which must be an integer of integer form of
///    any size; the value after the asterisk is read as above ("3*7" gives
///    7, "3*T" -1), and nothing or a blank, tab or comma after it is a null
///    value ("3*").
/// Examples:
///  - "  42  " gives 42; "42 17" and "5 abc" give 42 and 5, the rest is lost.
///  - Integer targets: "3.7" 3, "-3.7" -3, "1E3" 1000, "2.5E9" -1794967296,
///    "T" -1, "F" 0, "2147483648" and "1+2" conversion errors.
///  - Real targets: "1-2" 0.01, "1.0+2" 100, "2.5d-1" 0.25, "1.0e39"
///    conversion error, "1.0e-50" 0.0.
class ListReader {
 public:
  ListReader(RecordSource& source, std::int32_t unitNumber, std::string unitName)
      : source_(source), unitNumber_(unitNumber), unitName_(std::move(unitName)) {}

  /// One value into `target`, which is changed only when the status is
  /// ReadStatus::value; every outcome is returned, none ends the run.
  ReadResult readIntegerValue(std::int32_t& target);
  ReadResult readRealValue(float& target);

  /// A console answer. Ends the run on anything but a value or a null
  /// value, naming this reader's unit: end of input 24, a refused read 39
  /// with the system's text, syntaxError 59, conversionError 64,
  /// recordTooLong 22.
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
