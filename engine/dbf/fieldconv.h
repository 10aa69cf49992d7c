#pragma once
// Conversion between the bytes of a table field and runtime values: numbers right-justified
// in a fixed width with asterisks when they do not fit, dates as YYYYMMDD digits, and the
// Julian day numbers the runtime keeps dates in (0 is the empty date).
#include <cstdint>
#include <string>
#include <string_view>

namespace kv::engine {

// `value` rounded to `dec` decimals and right-justified in `width` characters; `width`
// asterisks when the text does not fit.
std::string formatNumber(double value, int width, int dec);
// The number at the start of `text` after leading blanks (sign, digits, one decimal point);
// 0 for blanks or anything that does not start a number.
double parseNumber(std::string_view text);

// Julian day number of a calendar date; 0 when the date does not exist.
std::int32_t julianFromYmd(int year, int month, int day);
void ymdFromJulian(std::int32_t julian, int& year, int& month, int& day);
// The eight digits YYYYMMDD of a date, eight blanks for the empty date.
std::string dateToStored(std::int32_t julian);
// A date from eight stored characters; the empty date for blanks or an impossible date.
std::int32_t dateFromStored(std::string_view text);

}  // namespace kv::engine
