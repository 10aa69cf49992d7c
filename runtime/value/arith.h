#pragma once
// The arithmetic operators of the language over dynamic values: "+", "-", "*", "/", "%",
// "^" (also written "**"), the prefix minus and the increment and decrement. Numbers
// produced here have display width 0 (the default width applies when they are formatted);
// their decimals follow the operands: the larger of the two for "+" and "-", the sum for
// "*", and the decimals setting (SET 3) for "/" and "^". Two integers give an integer while
// the result fits in 32 bits. Besides numbers: "+" joins strings; "-" joins them with the
// trailing blanks of the first moved to the end; a date plus or minus a number is a date and
// the difference of two dates is a number of days. Any other mix of kinds is an argument
// error (gen 1, subsystem "BASE", the operator as operation) whose substitute becomes the
// result; a division by zero is gen 5 (subcode 1340 for "/", 1341 for "%"), also with a
// substitute.
#include "runtime/value/value.h"

namespace kv {

Value opPlus(const Value& a, const Value& b);
Value opMinus(const Value& a, const Value& b);
Value opMult(const Value& a, const Value& b);
Value opDivide(const Value& a, const Value& b);
Value opModulus(const Value& a, const Value& b);
Value opPower(const Value& a, const Value& b);
// Prefix minus (numbers keep their width and decimals).
Value opNegate(const Value& a);
// Adds 1 / subtracts 1: numbers and dates.
Value opIncrement(const Value& a);
Value opDecrement(const Value& a);

}  // namespace kv
