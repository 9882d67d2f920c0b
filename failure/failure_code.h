// FailureCode: the 32-bit identity of a failure, and the catalog of the texts
// that this program can report.
#pragma once

#include <cstdint>
#include <string_view>

namespace corrsum {

/// Severity, kept in bits 31-30 of a FailureCode.
enum class Severity : std::uint32_t { info = 1, error = 2, severe = 3 };

/// Bits 31-30 severity, bits 29-16 zero, bits 15-0 the number the report
/// shows. A severe code is 3221225472 plus its number: file not found (29)
/// is 3221225501.
class FailureCode {
 public:
  constexpr FailureCode(Severity severity, std::uint16_t number)
      : value_((static_cast<std::uint32_t>(severity) << 30) | number) {}

  constexpr std::uint32_t value() const { return value_; }
  constexpr std::uint16_t number() const { return static_cast<std::uint16_t>(value_ & 0xFFFFu); }
  constexpr Severity severity() const { return static_cast<Severity>(value_ >> 30); }
  constexpr bool operator==(const FailureCode&) const = default;

 private:
  std::uint32_t value_;
};

/// Every failure the program can reach. The numbers below 161 and 200 are
/// the catalog's own; 171 to 174 are this program's refusals of input that
/// its tables or its scale cannot take.
namespace failures {
inline constexpr FailureCode permissionDenied{Severity::severe, 9};
inline constexpr FailureCode cannotOverwrite{Severity::severe, 10};
inline constexpr FailureCode recordTooLong{Severity::severe, 22};
inline constexpr FailureCode endOfFileDuringRead{Severity::severe, 24};
inline constexpr FailureCode closeError{Severity::severe, 28};
inline constexpr FailureCode fileNotFound{Severity::severe, 29};
inline constexpr FailureCode openFailure{Severity::severe, 30};
inline constexpr FailureCode errorDuringWrite{Severity::severe, 38};
inline constexpr FailureCode errorDuringRead{Severity::severe, 39};
inline constexpr FailureCode noSuchDevice{Severity::severe, 42};
inline constexpr FailureCode fileNameSpecification{Severity::severe, 43};
inline constexpr FailureCode syntaxError{Severity::severe, 59};
inline constexpr FailureCode conversionError{Severity::severe, 64};
inline constexpr FailureCode decorrelationTimeOutOfRange{Severity::severe, 171};
inline constexpr FailureCode dimensionOutOfRange{Severity::severe, 172};
inline constexpr FailureCode pointCountOutOfRange{Severity::severe, 173};
inline constexpr FailureCode seriesWithoutSpread{Severity::severe, 174};
inline constexpr FailureCode consoleEvent{Severity::error, 200};
}  // namespace failures

/// The catalog text of a code, ending in CR LF, with its placeholders still
/// in it: "file not found, unit %d, file %s\r\n". A text has no
/// placeholder, ends in "unit %d, file %s", holds one "%d" (the value a
/// refusal names), or holds one "%s" (a console event's name). An unknown
/// code gives an empty view.
std::string_view catalogText(FailureCode code);

/// "info", "error" or "severe".
std::string_view severityWord(Severity severity);

}  // namespace corrsum
