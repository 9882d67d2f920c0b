// Reading a curve file: the rows of ln r and ln C(r) that one corrsum job
// wrote for one embedding dimension.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corrsum::report {

/// One distinct row of a curve: ln r and ln C(r), natural logarithms.
struct CurvePoint {
  double lnR = 0.0;
  double lnC = 0.0;
};

/// A row is two real fields of 15 columns, 30 columns in all, ended by
/// CR LF (a bare LF is taken too, and the last row may lack its line end).
inline constexpr int kCurveFieldWidth = 15;
inline constexpr int kCurveRowWidth = 2 * kCurveFieldWidth;

/// The value of one 15-column field: blanks, one token, blanks. The token
/// is "Infinity", "-Infinity", "NaN", or a decimal number with an optional
/// "-", digits, an optional point and fraction, and an optional exponent:
/// " -0.6891631    " gives -0.6891631, "  5.0000001E-02" 0.050000001,
/// "   1234567.    " 1234567. Anything else (a blank field, two tokens,
/// "+1", "1,5", "0x10") gives nothing.
std::optional<double> parseCurveField(std::string_view field);

/// What a curve file held, or where and why reading it stopped.
struct CurveReadResult {
  /// The rows in file order, each repeated row (a bin sampled twice writes
  /// the same row twice in a row) kept once.
  std::vector<CurvePoint> points;
  int rowsRead = 0;
  int repeatedRows = 0;
  /// 0 when the whole file was read; else the 1-based line of the first
  /// bad row, with the reason in `fault`. `points` then holds the rows
  /// before it.
  int faultLine = 0;
  std::string fault;

  bool ok() const { return faultLine == 0; }
};

/// Reads the rows of `bytes`. A row is bad when it is not 30 columns, when
/// a field is not a number as above, or when its finite ln r does not rise
/// above the previous finite ln r of a different row (corrsum samples ever
/// larger bins, so only a repeated row keeps ln r). An empty file reads as
/// no points and no fault; telling that the job counted no pairs is the
/// caller's part. The row " -0.6891631      0.0000000E+00" read twice gives
/// one point (-0.6891631, 0) and repeatedRows 1.
CurveReadResult readCurve(std::string_view bytes);

}  // namespace corrsum::report
