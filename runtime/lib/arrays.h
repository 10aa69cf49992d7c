#pragma once
// Array functions. Arrays are shared by reference and indexed from 1. Where a function takes
// a first index and a count, a missing or non-numeric first index means 1 (below 1 too), a
// missing count means "to the end", and a count reaching past the end is cut there.
// Comparisons follow runtime/value/compare.h (exact comparison, setting 1, applies). Code blocks
// are evaluated through one helper, so a block abandoned by the error handler (an unwinding
// exception) simply leaves the function.
#include <cstdint>

#include "runtime/lang/symbols.h"
#include "runtime/value/value.h"

namespace kv {

// AADD(a, v): appends v to a and answers v. A non-array raises an argument error
// ("AADD", 1123) whose substitute is answered.
Value AADD(const Value& a, const Value& v);

// ARRAY(n [, m ...]): a new array of n nils; with more counts each element is itself a new
// array of the next dimensions. A missing or negative count raises ("ARRAY", 1131).
Value ARRAY(Args dims);
Value ARRAY(std::int32_t n);

// AFILL(a, v [, start [, count]]): stores v in the range; answers a. Nil for a non-array.
Value AFILL(const Value& a, const Value& v, const Value& start = Value(),
            const Value& count = Value());

// ACLONE(a): deep copy; nested plain arrays are copied too (an array reached twice is
// copied once, so shared rows and cycles keep their shape); objects and blocks inside are
// shared. Nil for a non-array.
Value ACLONE(const Value& a);

// ASCAN(a, target [, start [, count]]): index of the first element in the range for which
// the target block answers true, or (target not a block) element = target holds; 0 when
// none, or when a is not an array. The comparison is the "=" operator's: an element whose
// kind cannot be compared with the target (a number against a text, ...) raises its
// argument error, and the element matches only when the handler's substitute is true.
std::int32_t ASCAN(const Value& a, const Value& target, const Value& start = Value(),
                   const Value& count = Value());

// ASORT(a [, start [, count [, block]]]): sorts the range in place with the runtime's
// quicksort (middle element as pivot; not stable) and answers a. x goes before y when the
// block answers true for (x, y), or, without a block, when x < y. Nil for a non-array.
Value ASORT(const Value& a, const Value& start = Value(), const Value& count = Value(),
            const Value& block = Value());

// AEVAL(a, block [, start [, count]]): evaluates the block with (element, index) for each
// element of the range, in order; answers a. A non-array or non-block raises
// ("AEVAL", 2017).
Value AEVAL(const Value& a, const Value& block, const Value& start = Value(),
            const Value& count = Value());

// ASIZE(a, n): grows a with nils or cuts it to n elements (negative means 0); answers a.
// A non-array raises ("ASIZE", 2023).
Value ASIZE(const Value& a, const Value& n);

// ADEL(a, pos): removes element pos, moving the rest down and putting nil last (the length
// stays); AINS(a, pos): moves elements from pos up one place (the last drops off) and puts
// nil at pos. A position outside the array changes nothing; both answer a (nil for a
// non-array).
Value ADEL(const Value& a, const Value& pos);
Value AINS(const Value& a, const Value& pos);

// LEN(v): number of elements of an array or object, or bytes of a string. Any other kind
// raises ("LEN", 1111).
Value LEN(const Value& v);

// Registers the functions above by name in the symbol table.
void registerArrayFunctions();

}  // namespace kv
