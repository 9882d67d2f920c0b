#include "report/curve_file.h"

#include <charconv>
#include <cmath>
#include <cstddef>

namespace corrsum::report {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The token must be a whole number in the writer's spelling; from_chars on
// its own would also take "inf", "nan" or hexadecimal-free junk prefixes,
// so the shape is checked first and the conversion only fills in the value.
bool isDecimalToken(std::string_view t) {
  std::size_t i = 0;
  if (i < t.size() && t[i] == '-') ++i;
  const std::size_t intStart = i;
  while (i < t.size() && isDigit(t[i])) ++i;
  if (i == intStart) return false;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && isDigit(t[i])) ++i;
  }
  if (i < t.size() && (t[i] == 'E' || t[i] == 'e')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    const std::size_t expStart = i;
    while (i < t.size() && isDigit(t[i])) ++i;
    if (i == expStart) return false;
  }
  return i == t.size();
}

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
      out += '?';
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

std::optional<double> parseCurveField(std::string_view field) {
  const std::size_t first = field.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  const std::size_t last = field.find_last_not_of(' ');
  const std::string_view token = field.substr(first, last - first + 1);
  if (token.find(' ') != std::string_view::npos) return std::nullopt;
  if (token == "Infinity") return HUGE_VAL;
  if (token == "-Infinity") return -HUGE_VAL;
  if (token == "NaN") return std::nan("");
  if (!isDecimalToken(token)) return std::nullopt;
  double value = 0.0;
  const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
  // A decimal beyond the double range is no value a curve row can hold.
  if (ec != std::errc() || end != token.data() + token.size()) return std::nullopt;
  return value;
}

CurveReadResult readCurve(std::string_view bytes) {
  CurveReadResult result;
  std::string_view previousRow;
  std::string_view previousLnRField;
  double previousLnR = -HUGE_VAL;
  bool havePreviousLnR = false;
  int line = 0;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    ++line;
    std::size_t end = bytes.find('\n', pos);
    const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view row = bytes.substr(pos, end - pos);
    if (!row.empty() && row.back() == '\r' && end < bytes.size()) row.remove_suffix(1);
    pos = next;

    const auto stop = [&](std::string reason) {
      result.faultLine = line;
      result.fault = std::move(reason);
      return result;
    };
    if (row.size() != static_cast<std::size_t>(kCurveRowWidth)) {
      return stop("a row is 30 columns, this one is " + std::to_string(row.size()) + ": " + quoted(row));
    }
    ++result.rowsRead;
    if (row == previousRow) {
      ++result.repeatedRows;
      continue;
    }
    CurvePoint point;
    for (int f = 0; f < 2; ++f) {
      const std::string_view text = row.substr(static_cast<std::size_t>(f * kCurveFieldWidth), kCurveFieldWidth);
      const std::optional<double> value = parseCurveField(text);
      if (!value) {
        return stop(std::string(f == 0 ? "ln r" : "ln C") + " (columns " + (f == 0 ? "1-15" : "16-30") +
                    ") is not a number: " + quoted(text));
      }
      (f == 0 ? point.lnR : point.lnC) = *value;
    }
    if (std::isfinite(point.lnR)) {
      if (havePreviousLnR && !(point.lnR > previousLnR)) {
        return stop("ln r does not increase: " + quoted(row.substr(0, kCurveFieldWidth)) + " follows " +
                    quoted(previousLnRField));
      }
      previousLnR = point.lnR;
      previousLnRField = row.substr(0, kCurveFieldWidth);
      havePreviousLnR = true;
    }
    previousRow = row;
    result.points.push_back(point);
  }
  return result;
}

}  // namespace corrsum::report
