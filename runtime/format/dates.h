#pragma once
// Dates as Julian day numbers (1 January 1970 is day 2,440,588; 0 is the empty date) and
// their text forms: the display form under the date format (setting 4) and the eight-digit
// stored form of table fields. Valid dates run from 1 January 0001 to 31 December 2999 on the
// Gregorian calendar; anything else becomes the empty date, never an error.
//
// Wrong kinds raise argument errors (general code 1, subsystem "BASE") with the subcodes
// DTOC 1118, CTOD 1119, DTOS 1120, STOD 1120, DAY 1114, MONTH 1113, YEAR 1112, DOW 1115,
// CMONTH 1116, CDOW 1117.
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/value/value.h"

namespace kv {

struct CalendarDate {
  int day = 0;
  int month = 0;
  int year = 0;
};

// Day number of day/month/year taken exactly as given (no epoch); 0 when the year is outside
// 1..2999, the month outside 1..12 or the day not a day of that month.
std::int32_t julianFromCalendar(int day, int month, int year);

// Day number of day/month/year where a year below 100 first gets the epoch year (setting 5)
// added; 0 for an invalid date.
std::int32_t dayNumber(int day, int month, int year);

// Day, month and year of a day number; all zeros for 0 or less.
CalendarDate calendarDate(std::int32_t julian);

// Weekday of a day number, 1 = Sunday ... 7 = Saturday; 0 for the empty date.
int weekday(std::int32_t julian);

// The date format the date routines use: the first 10 characters of setting 4, upper-cased.
std::string activeDateFormat();

// Date to text under `format` (upper-cased, at most 10 characters used): the first "DD",
// "MM", and "YYYY" (else "YY") are replaced by the date's digits; the empty date gives
// blanks in those places.
std::string dateToText(std::int32_t julian, std::string_view format);

// Text to date under `format`, with the epoch year for years below 100. Fields are ranked
// by the order of "D", "M" and "Y" in the format; digits fill the current field, any other
// non-blank character moves on to the next (a run of them counts once). A year below 100
// gets the epoch however many digits it was written with ("0007" is 7): under an
// eight-character format it is windowed (years below epoch mod 100 go to the next century),
// otherwise the epoch year is added (year 0 stays invalid). Invalid text gives 0.
std::int32_t textToDate(std::string_view text, std::string_view format, int epoch);

// The stored form: "YYYYMMDD", eight blanks for the empty date.
std::string dateToStored(std::int32_t julian);
// Back from the stored form: needs at least eight characters, all digits in the first eight
// (no epoch, no format); anything else, or an invalid date, gives 0.
std::int32_t storedToDate(std::string_view stored);

// DTOC(date): the date as text under the date format.
Value DTOC(const Value& date);
// CTOD(text): the text as a date under the date format and epoch; invalid text gives the
// empty date.
Value CTOD(const Value& text);
// DTOS(date): the stored form.
Value DTOS(const Value& date);
// STOD(text): a date from its stored form (the empty date when it is not one).
Value STOD(const Value& text);
// DATE(): today from the local clock.
Value DATE();
// TIME(): the local time as "HH:MM:SS".
Value TIME();
// SECONDS(): the seconds since local midnight, with hundredths (two decimals).
Value SECONDS();
// DAY, MONTH, YEAR (numbers, 0 for the empty date) and DOW (1 = Sunday, 0 when empty).
Value DAY(const Value& date);
Value MONTH(const Value& date);
Value YEAR(const Value& date);
Value DOW(const Value& date);
// CMONTH and CDOW: the national name of the date's month ("Enero" ... "Diciembre") and of its
// weekday ("Domingo" ... "Sábado"); "" for the empty date.
Value CMONTH(const Value& date);
Value CDOW(const Value& date);

// __SETCENTURY([switch]): answers whether the date format holds "YYYY". A logical switch,
// or the text "ON" (any case; other text means off), that differs from the answer rewrites
// the run of "Y" at the first "Y" of the upper-cased format to "YYYY" or "YY" and stores
// the upper-cased result as the date format. Other kinds only report.
Value __SETCENTURY(const Value& onOff = Value());

// Registers the functions above by name.
void registerDateFunctions();

}  // namespace kv
