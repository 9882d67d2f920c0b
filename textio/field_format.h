// The number fields of the free-format record: a 12-column integer field and
// a 15-column real field. Pure converters: they fill a caller's buffer.
#pragma once

#include <cstdint>

namespace corrsum {

inline constexpr int kIntegerFieldWidth = 12;
inline constexpr int kRealFieldWidth = 15;

/// Writes exactly 12 bytes: the decimal value right-justified, "-" in front
/// of negative values, no "+", no leading zeros. 1 gives "           1".
void formatIntegerField(std::int32_t value, char* out);

/// Writes exactly 15 bytes. Every rounding works on the exact value of the
/// float and rounds to nearest, an exact tie to the even digit.
///  - Fixed form for finite |x| in [0.1 - 0.5e-8, 1e7 - 0.5): seven
///    significant digits, right-justified in 11 columns, then 4 blanks:
///    1.0 gives "   1.000000    ", 0.11328125 "  0.1132812    ",
///    1234567.0 "   1234567.    ".
///  - Exponent form otherwise: eight significant digits, "E", sign and two
///    exponent digits, right-justified: 0.05 gives "  5.0000001E-02".
///    Zero of either sign is "  0.0000000E+00".
///  - " Infinity      ", " -Infinity     ", and " NaN           " for any NaN.
void formatRealField(float value, char* out);

}  // namespace corrsum
