#pragma once
// Numbers to text and back: STR, STRZERO, VAL, and the helpers the table engine and
// TRANSFORM use for "number to text of a given width and decimals".
//
// Wrong kinds raise argument errors (general code 1, subsystem "BASE") with the subcodes
// STR 1099, STRZERO 1099, VAL 1098.
#include <string>
#include <string_view>

#include "runtime/value/value.h"

namespace kv {

// Longest text a number is formatted into (the width of the scratch field); wider requests
// are cut to it.
inline constexpr int kMaxNumberWidth = 64;

// Width and decimals a number is shown with when no width is asked for: its own, or, when
// it has no width yet, the default: 10 for magnitudes below 1e9, else 20, plus the decimals
// and the point when there are decimals (with the fixed-decimals flag on, the decimals are
// those of setting 3). A negative number gets one more place when its sign would not fit.
void displayLayout(const Value& number, int& width, int& decimals);

// `value` as right-justified text of exactly `width` characters with `decimals` decimals
// (decimals that would not fit are cut to width - 1). The fraction is rounded half away from
// zero on the decimal form of the value (15 significant digits), so 1.005 shows as "1.01".
// The minus sign of a value between -1 and 0 shows only when decimals are printed; a whole
// part of 0 is dropped before the point when only that makes the text fit. Text that does
// not fit is `width` asterisks. Width 0 or less means 10.
std::string formatNumber(double value, int width, int decimals);
// The same for an exact 32-bit integer.
std::string formatInteger(std::int64_t value, int width, int decimals);
// A number value formatted with the given width and decimals (by its own kind).
std::string formatValue(const Value& number, int width, int decimals);

// The number at the start of `text`: leading blanks and tabs, an optional "-", digits, an
// optional "." and more digits; the scan stops at anything else. Answers the number; sets
// `decimals` to the count of characters after the first "." anywhere in the text (0 when
// there is none).
double parseNumber(std::string_view text, int& decimals);

// STR(number [, width [, decimals]]): the number as right-justified text. With only the
// number its display layout is used; a width of 0 or less means 10; with a width and no
// decimals the decimals are 0; negative decimals mean 0.
Value STR(const Value& number, const Value& width = Value(), const Value& decimals = Value());

// STRZERO(number [, width [, decimals]]): STR with the leading blanks turned into zeros (after
// the "-" of a negative number): STRZERO(-42, 6) is "-00042". Asterisks stay asterisks.
Value STRZERO(const Value& number, const Value& width = Value(), const Value& decimals = Value());

// VAL(text): the number at the start of the text (0 for text of 64 characters or more). Its
// decimals are the characters after the first "." and its width the text's length; a result
// without decimals narrower than 10 becomes an integer of width 10.
Value VAL(const Value& text);

// Registers the functions above by name.
void registerNumberFunctions();

}  // namespace kv
