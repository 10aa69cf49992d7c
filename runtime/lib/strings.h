#pragma once
// String functions over 8-bit byte strings (Windows-1250), positions counted from 1. Case
// conversion uses the national tables below, never the C library's locale. Character and
// memo values are both accepted; results are character values.
//
// Wrong kinds raise argument errors (general code 1, subsystem "BASE") with the subcodes
// TRIM/RTRIM 1100, LTRIM 1101, ALLTRIM 1100, UPPER 1102, LOWER 1103, CHR 1104, SPACE 1105,
// REPLICATE 1106, ASC 1107, AT 1108, RAT 1108, SUBSTR 1110, LEFT 1124,
// RIGHT 1124, STRTRAN 1126, PADR/PADL/PADC 1099.
// A result longer than kMaxStringLength raises a string overflow error (general code 3,
// subcode 1233 for REPLICATE and SPACE, 1234 for PADR/PADL/PADC, 1235 for STRTRAN).
#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/value/value.h"

namespace kv {

// Longest string the string functions build (1 GiB).
inline constexpr std::size_t kMaxStringLength = std::size_t{1} << 30;

// The national case tables: "a"-"z", 0xE0-0xEF, 0xF1-0xF6 and 0xF8-0xFE map to their upper
// case (0x20 lower), the inverse for lower case; every other byte maps to itself.
unsigned char upperByte(unsigned char c);
unsigned char lowerByte(unsigned char c);
std::string upperText(std::string_view s);
std::string lowerText(std::string_view s);

// UPPER(text), LOWER(text): case conversion through the national tables.
Value UPPER(const Value& text);
Value LOWER(const Value& text);
// TRIM/RTRIM(text): without trailing blanks; LTRIM: without leading blanks; ALLTRIM: both.
Value TRIM(const Value& text);
Value RTRIM(const Value& text);
Value LTRIM(const Value& text);
Value ALLTRIM(const Value& text);
// PADR/PADL/PADC(value, length [, fill]): the value as text (numbers as STR shows them,
// dates as DTOC does) padded with the first character of `fill` (a blank by default) on the
// right, on the left, or on both sides (the odd one on the right), or cut to `length` (PADL
// keeps the right end, the others the left). A length of 0 or less gives "".
Value PADR(const Value& value, const Value& length, const Value& fill = Value());
Value PADL(const Value& value, const Value& length, const Value& fill = Value());
Value PADC(const Value& value, const Value& length, const Value& fill = Value());
// SUBSTR(text, start [, count]): `count` characters (all to the end when absent) from
// position `start`; a start of 0 means 1, a negative start counts back from the end; a
// start past the end or a negative count gives "".
Value SUBSTR(const Value& text, const Value& start, const Value& count = Value());
// LEFT(text, n) and RIGHT(text, n): the first or last n characters ("" for n <= 0).
Value LEFT(const Value& text, const Value& count);
Value RIGHT(const Value& text, const Value& count);
// AT(search, text) and RAT(search, text): position of the first or last occurrence, 0 when
// there is none or `search` is empty.
Value AT(const Value& search, const Value& text);
Value RAT(const Value& search, const Value& text);
// STRTRAN(text, search [, replace [, first [, count]]]): replaces occurrences of `search`
// (by "" when `replace` is absent), starting with occurrence number `first` (1 by
// default) and replacing at most `count` of them (all by default). An empty `search`
// leaves the text unchanged.
Value STRTRAN(const Value& text, const Value& search, const Value& replace = Value(),
              const Value& first = Value(), const Value& count = Value());
// REPLICATE(text, n): the text n times ("" for n <= 0). SPACE(n): n blanks.
Value REPLICATE(const Value& text, const Value& count);
Value SPACE(const Value& count);
// CHR(n): the character with code n modulo 256. ASC(text): the code of its first character,
// 0 for "".
Value CHR(const Value& code);
Value ASC(const Value& text);

// Registers the functions above by name.
void registerStringFunctions();

}  // namespace kv
