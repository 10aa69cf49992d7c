#pragma once
// Arithmetic functions on numbers (and MIN/MAX on dates). Rounding is half away from zero
// on the number's decimal form, the same rule STR uses, so ROUND and STR agree.
//
// Wrong kinds raise argument errors (general code 1, subsystem "BASE") with the subcodes
// ABS 1089, INT 1090, MIN 1092, MAX 1093, ROUND 1094, LOG 1095, EXP 1096, SQRT 1097.
#include "runtime/value/value.h"

namespace kv {

// `value` rounded half away from zero to `decimals` places (a negative count rounds to
// tens, hundreds ...).
double roundHalfUp(double value, int decimals);

// ROUND(number, decimals): the rounded number, showing `decimals` decimals (0 when negative).
// An integer rounded to 0 or more places is answered unchanged.
Value ROUND(const Value& number, const Value& decimals);
// INT(number): the whole part, truncated towards zero.
Value INT(const Value& number);
// ABS(number): the magnitude, of the same kind, width and decimals.
Value ABS(const Value& number);
// MIN/MAX(a, b): the smaller/larger of two numbers or two dates (the first on a tie).
Value MIN(const Value& a, const Value& b);
Value MAX(const Value& a, const Value& b);

// SQRT, LOG (natural) and EXP of a number. The results are computed numbers, shown like a
// quotient: no width of their own and the decimals of setting 3. SQRT of a negative number
// is 0. LOG of 0 or less, and an EXP too large for a double, is a numeric overflow: an
// infinite value, which every numeric display shows as asterisks.
Value SQRT(const Value& number);
Value LOG(const Value& number);
Value EXP(const Value& number);

// Registers the functions above by name.
void registerMathFunctions();

}  // namespace kv
