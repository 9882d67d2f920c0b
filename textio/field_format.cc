#include "textio/field_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace corrsum {
namespace {

// Right-justifies `text` in a field of `width` bytes.
void rightJustify(const char* text, std::size_t length, int width, char* out) {
  std::memset(out, ' ', static_cast<std::size_t>(width));
  std::memcpy(out + width - static_cast<int>(length), text, length);
}

// The fixed form's bounds, tested on the exact value of the float. No float
// lies within a double's rounding of 0.0999999995, so comparing the widened
// float against the nearest double decides exactly.
constexpr double kFixedLow = 0.1 - 0.5e-8;
constexpr double kFixedHigh = 1e7 - 0.5;

}  // namespace

void formatIntegerField(std::int32_t value, char* out) {
  char digits[16];
  auto result = std::to_chars(digits, digits + sizeof digits, value);
  rightJustify(digits, static_cast<std::size_t>(result.ptr - digits), kIntegerFieldWidth, out);
}

void formatRealField(float value, char* out) {
  std::memset(out, ' ', kRealFieldWidth);
  if (std::isnan(value)) {
    std::memcpy(out + 1, "NaN", 3);
    return;
  }
  if (std::isinf(value)) {
    if (value < 0)
      std::memcpy(out + 1, "-Infinity", 9);
    else
      std::memcpy(out + 1, "Infinity", 8);
    return;
  }
  // The widened float is its exact value; std::to_chars with a precision
  // prints that value correctly rounded, exact ties to even.
  const double exact = static_cast<double>(value);
  const double magnitude = std::fabs(exact);
  char text[40];
  char* end;
  if (magnitude >= kFixedLow && magnitude < kFixedHigh) {
    // Seven significant digits: the digits before the point of the value
    // rounded to seven significant digits decide how many follow it.
    char probe[40];
    auto rounded = std::to_chars(probe, probe + sizeof probe, magnitude, std::chars_format::scientific, 6);
    *rounded.ptr = '\0';
    const int exponent = std::atoi(std::strchr(probe, 'e') + 1);
    const int integerDigits = exponent >= 0 ? exponent + 1 : 0;
    end = std::to_chars(text, text + sizeof text, exact, std::chars_format::fixed, 7 - integerDigits).ptr;
    if (integerDigits == 7) *end++ = '.';
    rightJustify(text, static_cast<std::size_t>(end - text), kRealFieldWidth - 4, out);
    return;
  }
  // Zero is written without a sign, whichever it has.
  end = std::to_chars(text, text + sizeof text, value == 0.0f ? 0.0 : exact, std::chars_format::scientific, 7).ptr;
  char* e = std::strchr(text, 'e');
  *e = 'E';
  rightJustify(text, static_cast<std::size_t>(end - text), kRealFieldWidth, out);
}

}  // namespace corrsum
