#pragma once
// Numbers in the bytes of a table field: right-justified in the field's width with the field's
// decimals, asterisks when they do not fit. Dates are stored as the runtime's stored form
// (runtime/format/dates.h: dateToStored, storedToDate).
#include <string>
#include <string_view>

namespace kv::engine {

// The bytes of a number field of `width` and `dec` decimals holding `value`: the text STR
// gives the number with that width and decimals (runtime/format/numfmt.h), with leading
// blanks when the field is wider than the 64 characters STR makes; `width` asterisks when it
// does not fit. Empty for a width of 0 or less.
std::string numberToField(double value, int width, int dec);
// The number the bytes of a number field hold: after leading blanks and tabs an optional sign,
// digits and one decimal point; the scan stops at anything else. 0 for blanks or anything
// that does not start a number.
double numberFromField(std::string_view text);

}  // namespace kv::engine
