#include "textio/number_token.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace corrsum {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSign(char c) { return c == '+' || c == '-'; }
bool isExponentLetter(char c) {
  switch (c) {
    case 'E': case 'e': case 'D': case 'd': case 'Q': case 'q': return true;
    default: return false;
  }
}

// Exponents and digit counts are kept in 64 bits; an exponent written with
// more digits than that saturates here, far beyond any finite double, so the
// saturated value still decides overflow and underflow correctly.
constexpr std::int64_t kExponentCeiling = 1'000'000'000'000'000;

// Beyond these the value is certainly infinite or certainly zero in double:
// a value with n significant digits d...d x 10^e lies in [10^(n-1+e), 10^(n+e)).
constexpr std::int64_t kLargestDecimalExponent = 308;   // DBL_MAX ~ 1.8e308
constexpr std::int64_t kSmallestDecimalExponent = -330;  // below the smallest subnormal, ~4.9e-324

// FLT_MAX plus half a unit in its last place: the smallest magnitude that
// rounds to infinity as a float (the tie goes to the even neighbour, 2^128).
constexpr double kFloatOverflowThreshold = 0x1.ffffffp+127;

// 2^63: the first magnitude that a 64-bit truncation cannot hold.
constexpr double kInt64Limit = 0x1p63;

}  // namespace

bool endsNumberToken(char byte) {
  switch (byte) {
    case ' ': case '\t': case ',': case '/': case ')': case '*': return true;
    default: return false;
  }
}

std::size_t numberTokenEnd(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && !endsNumberToken(text[end])) ++end;
  return end;
}

TokenScan scanNumberToken(std::string_view token) {
  bool digitSinceSign = false;  // since the token's start or the last sign
  bool seenSign = false, seenPoint = false, seenExponent = false;
  for (std::size_t i = 0; i < token.size(); ++i) {
    const char c = token[i];
    if (isDigit(c)) {
      digitSinceSign = true;
    } else if (isSign(c)) {
      if (seenSign && !digitSinceSign) return {TokenSyntax::signWithoutDigit, i};
      seenSign = true;
      digitSinceSign = false;
    } else if (c == '.') {
      if (seenPoint) return {TokenSyntax::secondPoint, i};
      seenPoint = true;
    } else if (isExponentLetter(c)) {
      if (!digitSinceSign) return {TokenSyntax::exponentWithoutDigit, i};
      if (seenExponent) return {TokenSyntax::secondExponent, i};
      seenExponent = true;
    } else {
      return {TokenSyntax::illegalByte, i};
    }
  }
  if (!digitSinceSign) return {TokenSyntax::missingDigit, token.size()};
  const TokenForm form = seenPoint || seenExponent ? TokenForm::realForm : TokenForm::integerForm;
  return {TokenSyntax::valid, token.size(), form};
}

DoubleConversion convertDouble(std::string_view token) {
  std::size_t i = 0;
  const bool negative = i < token.size() && token[i] == '-';
  if (i < token.size() && isSign(token[i])) ++i;

  // The significand's digits without leading zeros, and how many digits
  // stood after the point: the value is digits x 10^(exponent - afterPoint).
  std::string digits;
  std::int64_t afterPoint = 0;
  bool anyDigit = false, inFraction = false;
  for (; i < token.size() && (isDigit(token[i]) || token[i] == '.'); ++i) {
    if (token[i] == '.') {
      inFraction = true;
      continue;
    }
    anyDigit = true;
    if (inFraction) ++afterPoint;
    if (digits.empty() && token[i] == '0') continue;
    digits += token[i];
  }
  if (!anyDigit) return {ConversionStatus::noSignificandDigit};

  // The significand stops at an exponent letter or at a sign; either begins
  // the exponent, and a letter may carry a sign of its own.
  std::int64_t exponent = 0;
  if (i < token.size()) {
    if (isExponentLetter(token[i])) ++i;
    bool exponentNegative = false;
    if (i < token.size() && isSign(token[i])) exponentNegative = token[i++] == '-';
    for (; i < token.size() && isDigit(token[i]); ++i) {
      if (exponent < kExponentCeiling) exponent = exponent * 10 + (token[i] - '0');
    }
    if (exponentNegative) exponent = -exponent;
    if (i < token.size()) return {ConversionStatus::bytesAfterExponent};
  }

  const double zero = negative ? -0.0 : 0.0;
  std::int64_t scale = exponent - afterPoint;
  while (!digits.empty() && digits.back() == '0') {
    digits.pop_back();
    ++scale;
  }
  if (digits.empty()) return {ConversionStatus::converted, zero};
  const auto count = static_cast<std::int64_t>(digits.size());
  if (count - 1 + scale > kLargestDecimalExponent) return {ConversionStatus::outOfRange};
  if (count + scale < kSmallestDecimalExponent) return {ConversionStatus::converted, zero};

  // strtod rounds correctly however many digits it is given. The rebuilt
  // text holds only digits, 'e' and a sign, so the locale's decimal point
  // never comes into it.
  std::string text = negative ? "-" : "";
  text += digits;
  text += 'e';
  text += std::to_string(scale);
  const double value = std::strtod(text.c_str(), nullptr);
  if (std::isinf(value)) return {ConversionStatus::outOfRange};
  return {ConversionStatus::converted, value};
}

RealConversion convertReal(std::string_view token) {
  const DoubleConversion wide = convertDouble(token);
  if (wide.status != ConversionStatus::converted) return {wide.status};
  if (std::fabs(wide.value) >= kFloatOverflowThreshold) return {ConversionStatus::outOfRange};
  return {ConversionStatus::converted, static_cast<float>(wide.value)};
}

bool isIntegerOfIntegerForm(std::string_view token) {
  if (!token.empty() && isSign(token.front())) token.remove_prefix(1);
  if (token.empty()) return false;
  for (char c : token) {
    if (!isDigit(c)) return false;
  }
  return true;
}

IntegerConversion convertInteger(std::string_view token) {
  const bool realForm = token.find_first_of(".EeDdQq") != std::string_view::npos;
  if (realForm) {
    const DoubleConversion wide = convertDouble(token);
    if (wide.status != ConversionStatus::converted) return {wide.status};
    // Truncation to 64 bits, then the low 32 bits as signed; a magnitude
    // that 64 bits cannot hold gives the integer indefinite, whose low half
    // is 0.
    if (std::fabs(wide.value) >= kInt64Limit) return {ConversionStatus::converted, 0};
    const auto whole = static_cast<std::int64_t>(wide.value);
    return {ConversionStatus::converted, static_cast<std::int32_t>(static_cast<std::uint32_t>(whole))};
  }

  if (!isIntegerOfIntegerForm(token)) return {ConversionStatus::innerSign};
  const bool negative = token.front() == '-';
  if (isSign(token.front())) token.remove_prefix(1);
  // Accumulated as a magnitude; anything past 2^31 is out of range on
  // either side, so the sum stops growing there.
  constexpr std::uint64_t kMagnitudeCeiling = std::uint64_t{1} << 31;
  std::uint64_t magnitude = 0;
  for (char c : token) {
    magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
    if (magnitude > kMagnitudeCeiling) return {ConversionStatus::outOfRange};
  }
  if (!negative && magnitude == kMagnitudeCeiling) return {ConversionStatus::outOfRange};
  const auto value = static_cast<std::int64_t>(magnitude);
  return {ConversionStatus::converted, static_cast<std::int32_t>(negative ? -value : value)};
}

}  // namespace corrsum
