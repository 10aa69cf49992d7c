#pragma once
// Equality and ordering of values, the rules behind the comparison operators, ASCAN and
// ASORT:
// - nil equals nil and nothing else under "=", "==" and "!="; an integer and a double
//   compare by numeric value; numbers, dates and logicals (false before true) by value;
// - strings byte by byte as unsigned bytes, trailing blanks significant. "==" needs equal
//   lengths. For "=", "!=" and the ordering operators with exact comparison (setting 1) off,
//   a left operand that begins with all of the right one is equal to it ("Petrovic" = "Petr"
//   is true, "Petr" = "Petrovic" is false, anything = "" is true); with it on, strings of
//   different lengths are never equal and a proper prefix orders first;
// - arrays, objects and code blocks are equal only when they are the same cell; they have
//   no order;
// - any other mix of kinds, and an ordering operator with a nil, raises an argument error
//   (subsystem "BASE") whose operation is the operator; the handler's substitute becomes the
//   operator's result.
// Argument-error subcodes: "==" 1070, "=" 1071, "!=" 1072, "<" 1073, "<=" 1074, ">" 1075,
// ">=" 1076. Errors of "!=" name the operation "<>", the language's other spelling of it.
#include <string_view>

#include "runtime/value/value.h"

namespace kv {

enum class CompareOp { Equal, ExactEqual, NotEqual, Less, LessEqual, Greater, GreaterEqual };

// The operator's name in error reports ("=", "==", "<>", "<", ...).
const char* compareOpName(CompareOp op);
// The argument-error subcode of the operator.
int compareOpSubCode(CompareOp op);

// True when the two values can be compared for equality without an error (same kind
// family, or a nil on either side).
bool equalityComparable(const Value& a, const Value& b);
// True when the two values have an order ("<" and friends do not raise).
bool orderComparable(const Value& a, const Value& b);

// Byte-wise comparison of two strings under the rules above: negative, 0 or positive.
// `exact` false lets a left operand that starts with the whole right one compare equal.
int compareStrings(std::string_view a, std::string_view b, bool exact);

// Applies an operator to two values (references are read through). Answers a logical, or,
// after an argument error, the handler's substitute value.
Value compareValues(CompareOp op, const Value& a, const Value& b);

// The operators as C++ predicates for the runtime's own code: a substitute that is not the
// logical true counts as false.
bool valuesEqual(const Value& a, const Value& b);         // "=" (setting 1 applies)
bool valuesExactlyEqual(const Value& a, const Value& b);  // "=="
bool valuesNotEqual(const Value& a, const Value& b);      // "!=" (setting 1 applies)
bool valueLess(const Value& a, const Value& b);           // "<"
bool valueLessEqual(const Value& a, const Value& b);      // "<="
bool valueGreater(const Value& a, const Value& b);        // ">"
bool valueGreaterEqual(const Value& a, const Value& b);   // ">="

// Three-way order of two values that orderComparable() accepts: negative, 0 or positive,
// strings under setting 1. Any other pair raises the argument error of "<"; the answer is
// then -1 when the handler's substitute is the logical true, else 0.
int compareForOrder(const Value& a, const Value& b);

}  // namespace kv
