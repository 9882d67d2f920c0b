// MathFailure: the report form of a logarithm that cannot be taken, and the
// checked logarithm used for the curve values.
#pragma once

namespace corrsum {

enum class MathKind { domain, sing };

/// Writes, in one write: an empty line, "run-time error M6201: MATH" (6202
/// for SING), "- log: DOMAIN error" ("SING"), each ended by CR LF, and the
/// traceback block; then ends the run with exit status 3.
[[noreturn]] void mathFailure(MathKind kind);

/// The natural logarithm, in double, of a single-precision value. Zero of
/// either sign ends the run with SING; a negative value, -Infinity or a NaN
/// with DOMAIN; +Infinity gives +Infinity; every positive value (subnormal
/// ones included) its logarithm.
double checkedLog(float x);

}  // namespace corrsum
