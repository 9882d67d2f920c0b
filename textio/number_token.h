// Number tokens of free-format input: where a token ends, whether it is well
// formed, and its value as a 32-bit integer or a single-precision real.
// Pure functions over text; no I/O.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corrsum {

/// Why a number token is malformed: one value per syntax rule. The token is
/// examined from left to right and the first rule broken is reported.
enum class TokenSyntax {
  valid,
  /// A byte other than a digit, '+', '-', '.', or an exponent letter E, D,
  /// Q in either case: "abc", "1x", "1\r" (a carriage return inside a
  /// record is an ordinary byte).
  illegalByte,
  /// A sign with no digit since the previous sign: "--1", "1E+-2".
  signWithoutDigit,
  /// A second point anywhere in the token: "1.2.3", "1E2.5.".
  secondPoint,
  /// An exponent letter with no digit since the token's start or since the
  /// last sign: "E5", ".E5", "-E5", "1+E".
  exponentWithoutDigit,
  /// A second exponent letter: "1E2E3".
  secondExponent,
  /// No digit after the last sign, or no digit at all in a token without a
  /// sign: "+", "1E-", ".", "" (a token that is empty because a terminator
  /// came first, as in ")" or "*").
  missingDigit,
};

/// A valid token without a point and without an exponent letter is of
/// integer form ("+3", "007", "1-2"); every other valid token is of real
/// form ("1.", ".5", "1E", "2q-3", "1.0+2").
enum class TokenForm { integerForm, realForm };

struct TokenScan {
  TokenSyntax syntax = TokenSyntax::valid;
  /// For a malformed token, the offset of the byte that broke the rule, or
  /// the token's length when the token ended too early (missingDigit).
  /// For a valid token, its length.
  std::size_t position = 0;
  TokenForm form = TokenForm::integerForm;
};

/// Checks the syntax of `token`, which holds no terminator (see
/// numberTokenEnd). "1.2.3" -> {secondPoint, 3}; "1-2" -> {valid, 3,
/// integerForm}; "1E5.5" -> {valid, 5, realForm} (its left-over bytes are a
/// conversion matter, not a syntax one).
TokenScan scanNumberToken(std::string_view token);

/// True for the bytes that end a number token: blank, tab, comma, slash,
/// closing parenthesis and asterisk. The end of the record ends it too.
bool endsNumberToken(char byte);

/// The length of the number token at the start of `text`: up to, not
/// including, the first byte that ends it. "12,5" -> 2, "3*7" -> 1.
std::size_t numberTokenEnd(std::string_view text);

/// Why a well-formed token could not be converted.
enum class ConversionStatus {
  converted,
  /// Integer target: outside -2147483648 .. 2147483647, or a real-form value
  /// beyond the double range. Real target: magnitude rounds above FLT_MAX.
  outOfRange,
  /// An integer-form token with a sign other than in front: "1-2", "1+2",
  /// for an integer target or a repeat count.
  innerSign,
  /// Bytes after the exponent's digits: "1E5.5", "1+2+3", "1E.5".
  bytesAfterExponent,
  /// A significand without a single digit, as in ".-5", which the syntax
  /// rules let through: there is no number to form.
  noSignificandDigit,
};

struct IntegerConversion {
  ConversionStatus status = ConversionStatus::converted;
  std::int32_t value = 0;
};

struct DoubleConversion {
  ConversionStatus status = ConversionStatus::converted;
  double value = 0.0;
};

struct RealConversion {
  ConversionStatus status = ConversionStatus::converted;
  float value = 0.0f;
};

/// The value of a valid token as significand x 10^exponent, correctly
/// rounded to double. The exponent starts at an exponent letter, or without
/// a letter at a sign after the significand; a letter with nothing after it
/// means exponent 0. "1.0+2" -> 100, "1-2" -> 0.01, "2.5D-1" -> 0.25,
/// "2q-3" -> 0.002, "1E" -> 1. A value beyond the double range is
/// outOfRange; one below it is 0 or subnormal. The value decides, never the
/// spelling: "0.0001e310" is 1e306 and "1" followed by 400 zeros and "e-390"
/// is 1e10. Precondition: scanNumberToken(token).syntax == valid.
DoubleConversion convertDouble(std::string_view token);

/// A valid token as a single-precision real: convertDouble, then rounded to
/// the nearest float (the rounding happens twice, first to double).
/// Magnitudes that round above FLT_MAX are outOfRange: "3.4028235e38" gives
/// FLT_MAX, "3.4028236e38" and "1.0e39" are outOfRange. Below the normal
/// range the result is subnormal or zero: "1.0e-50" -> 0.
RealConversion convertReal(std::string_view token);

/// A valid token as a signed 32-bit integer.
///  - Integer form: an optional leading sign and decimal digits, in range:
///    "-2147483648" is the lowest; "2147483648" is outOfRange; "1-2" is
///    innerSign.
///  - Real form: convertDouble, truncated toward zero to 64 bits, of which
///    the low 32 bits read as signed are the result; a magnitude of 2^63 or
///    more gives 0. "3.7" -> 3, "-3.7" -> -3, "1E3" -> 1000, "2.5E9" ->
///    2500000000 - 2^32 = -1794967296.
IntegerConversion convertInteger(std::string_view token);

/// True when a valid token is an integer of integer form: an optional
/// leading sign and digits, of any size. This is what a repeat count must
/// be: "3", "0007", "99999999999" are; "2.5", "1-2" are not.
bool isIntegerOfIntegerForm(std::string_view token);

}  // namespace corrsum
