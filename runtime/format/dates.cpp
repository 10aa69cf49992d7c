#include "runtime/format/dates.h"

#include <cstdio>

#include "platform/clock.h"
#include "runtime/lang/functions.h"
#include "runtime/lang/settings.h"
#include "runtime/lang/symbols.h"

namespace kv {

namespace {

bool isLeap(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int monthLength(int month, int year) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

char upperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string upperAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = upperAscii(c);
  return r;
}

void putDigits(std::string& s, std::size_t pos, int value, int count, bool blank) {
  for (int i = count - 1; i >= 0; --i) {
    s[pos + i] = blank ? ' ' : static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

// Ranks 1..3 of the day, month and year fields by where their first letter stands in the
// format; a letter missing from the format ranks after those present, in D, M, Y order.
void fieldRanks(std::string_view format, int rank[3]) {
  static const char letters[3] = {'D', 'M', 'Y'};
  std::size_t pos[3];
  for (int i = 0; i < 3; ++i) {
    pos[i] = format.size() + i;
    for (std::size_t k = 0; k < format.size(); ++k) {
      if (upperAscii(format[k]) == letters[i]) {
        pos[i] = k;
        break;
      }
    }
  }
  for (int i = 0; i < 3; ++i) {
    rank[i] = 1;
    for (int j = 0; j < 3; ++j) {
      if (j != i && pos[j] < pos[i]) ++rank[i];
    }
  }
}

const Value& dateArg(const Value& v) {
  return v.deref();
}

// The national module's names, in the Windows code page.
constexpr const char* kMonthNames[12] = {
    "Enero", "Febrero", "Marzo",      "Abril",   "Mayo",      "Junio",
    "Julio", "Agosto",  "Septiembre", "Octubre", "Noviembre", "Diciembre",
};
constexpr const char* kDayNames[7] = {
    "Domingo",
    "Lunes",
    "Martes",
    "Mi\xE9rcoles",
    "Jueves",
    "Viernes",
    "S\341bado",  // a-acute as an octal escape, which ends after three digits
};

}  // namespace

std::int32_t julianFromCalendar(int day, int month, int year) {
  if (year < 1 || year >= 3000 || month < 1 || month > 12 || day < 1 ||
      day > monthLength(month, year)) {
    return 0;
  }
  const int a = month < 3 ? 1 : 0;
  const std::int64_t e = year - a;
  const std::int64_t n = (month + 12 * a - 2) * 367 / 12 + (1461 * e + 7012800) / 4 + day -
                         3 * ((e + 4900) / 100) / 4 - 32075;
  return static_cast<std::int32_t>(n);
}

std::int32_t dayNumber(int day, int month, int year) {
  // The year is checked as it ends up: 29.02.00 is valid when the epoch makes it 2000.
  if (year > 0 && year < 100) year += setNumber(kSetEpoch);
  return julianFromCalendar(day, month, year);
}

CalendarDate calendarDate(std::int32_t julian) {
  CalendarDate r;
  if (julian <= 0) return r;
  const std::int64_t n = julian;
  const std::int64_t b = 4 * (n + 68569) / 146097;
  const std::int64_t n1 = n + 68569 - (146097 * b + 3) / 4;
  const std::int64_t c = 4000 * (n1 + 1) / 1461001;
  const std::int64_t n2 = n1 - 1461 * c / 4 + 31;
  const std::int64_t f = 80 * n2 / 2447;
  const std::int64_t g = f / 11;
  r.day = static_cast<int>(n2 - 2447 * f / 80);
  r.month = static_cast<int>(f + 2 - 12 * g);
  r.year = static_cast<int>(100 * (b - 49) + c + g);
  return r;
}

int weekday(std::int32_t julian) {
  if (julian <= 0) return 0;
  CalendarDate d = calendarDate(julian);
  int m = d.month;
  int y = d.year;
  if (m < 3) {
    m += 12;
    --y;
  }
  const int k = y % 100;
  const int j = y / 100;
  // Zeller's congruence: 0 = Saturday, 1 = Sunday, ... 6 = Friday.
  const int h = (d.day + 13 * (m + 1) / 5 + k + k / 4 + j / 4 + 5 * j) % 7;
  return (h + 6) % 7 + 1;
}

std::string activeDateFormat() {
  std::string f = setText(kSetDateFormat);
  if (f.size() > 10) f.resize(10);
  return upperAscii(f);
}

std::string dateToText(std::int32_t julian, std::string_view format) {
  std::string s = upperAscii(format.substr(0, 10));
  CalendarDate d = calendarDate(julian);
  const bool blank = julian <= 0;
  if (auto p = s.find("DD"); p != std::string::npos) putDigits(s, p, d.day, 2, blank);
  if (auto p = s.find("MM"); p != std::string::npos) putDigits(s, p, d.month, 2, blank);
  if (auto p = s.find("YYYY"); p != std::string::npos) {
    putDigits(s, p, d.year, 4, blank);
  } else if (auto q = s.find("YY"); q != std::string::npos) {
    putDigits(s, q, d.year % 100, 2, blank);
  }
  return s;
}

std::int32_t textToDate(std::string_view text, std::string_view format, int epoch) {
  int rank[3];
  fieldRanks(format, rank);
  int field[4] = {0, 0, 0, 0};  // by rank 1..3
  int current = 1;
  bool afterSeparator = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      afterSeparator = false;
      if (current > 3) continue;
      // Long runs of digits cannot make a valid date; stop growing before overflow.
      if (field[current] < 100000) field[current] = field[current] * 10 + (c - '0');
    } else if (c != ' ') {
      if (!afterSeparator) ++current;
      afterSeparator = true;
    }
  }
  const int day = field[rank[0]];
  const int month = field[rank[1]];
  int year = field[rank[2]];
  if (year < 100 && format.size() == 8) {
    const int base = epoch - epoch % 100;
    year += year < epoch % 100 ? base + 100 : base;
  } else if (year > 0 && year < 100) {
    year += epoch;
  }
  return julianFromCalendar(day, month, year);
}

std::string dateToStored(std::int32_t julian) {
  if (julian <= 0) return std::string(8, ' ');
  CalendarDate d = calendarDate(julian);
  std::string s(8, '0');
  putDigits(s, 0, d.year, 4, false);
  putDigits(s, 4, d.month, 2, false);
  putDigits(s, 6, d.day, 2, false);
  return s;
}

std::int32_t storedToDate(std::string_view stored) {
  if (stored.size() < 8) return 0;
  int n[3] = {0, 0, 0};
  static const int group[8] = {0, 0, 0, 0, 1, 1, 2, 2};
  for (int i = 0; i < 8; ++i) {
    const char c = stored[i];
    if (c < '0' || c > '9') return 0;
    n[group[i]] = n[group[i]] * 10 + (c - '0');
  }
  return julianFromCalendar(n[2], n[1], n[0]);
}

Value DTOC(const Value& date) {
  const Value& d = dateArg(date);
  if (!d.isDate()) return raiseArgError("DTOC", 1118, {date});
  return Value(dateToText(d.julian(), activeDateFormat()));
}

Value CTOD(const Value& text) {
  const Value& t = text.deref();
  if (!t.isString()) return raiseArgError("CTOD", 1119, {text});
  return Value::date(textToDate(t.str(), activeDateFormat(), setNumber(kSetEpoch)));
}

Value DTOS(const Value& date) {
  const Value& d = dateArg(date);
  if (!d.isDate()) return raiseArgError("DTOS", 1120, {date});
  return Value(dateToStored(d.julian()));
}

Value STOD(const Value& text) {
  const Value& t = text.deref();
  if (t.isNil()) return Value::date(0);
  if (!t.isString()) return raiseArgError("STOD", 1120, {text});
  return Value::date(storedToDate(t.str()));
}

Value DATE() {
  platform::LocalTime t = platform::localNow();
  return Value::date(julianFromCalendar(t.day, t.month, t.year));
}

Value TIME() {
  platform::LocalTime t = platform::localNow();
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour % 100, t.minute % 100, t.second % 100);
  return Value(std::string_view(buf, 8));
}

Value SECONDS() {
  return Value::number(platform::secondsSinceMidnight(), 0, 2);
}

Value DAY(const Value& date) {
  const Value& d = dateArg(date);
  if (!d.isDate()) return raiseArgError("DAY", 1114, {date});
  return Value::integer(calendarDate(d.julian()).day, 3);
}

Value MONTH(const Value& date) {
  const Value& d = dateArg(date);
  if (!d.isDate()) return raiseArgError("MONTH", 1113, {date});
  return Value::integer(calendarDate(d.julian()).month, 3);
}

Value YEAR(const Value& date) {
  const Value& d = dateArg(date);
  if (!d.isDate()) return raiseArgError("YEAR", 1112, {date});
  return Value::integer(calendarDate(d.julian()).year, 5);
}

Value DOW(const Value& date) {
  const Value& d = dateArg(date);
  if (!d.isDate()) return raiseArgError("DOW", 1115, {date});
  return Value::integer(weekday(d.julian()), 3);
}

Value CMONTH(const Value& date) {
  const Value& d = dateArg(date);
  if (!d.isDate()) return raiseArgError("CMONTH", 1116, {date});
  const int month = calendarDate(d.julian()).month;
  return Value(month > 0 ? kMonthNames[month - 1] : "");
}

Value CDOW(const Value& date) {
  const Value& d = dateArg(date);
  if (!d.isDate()) return raiseArgError("CDOW", 1117, {date});
  const int day = weekday(d.julian());
  return Value(day > 0 ? kDayNames[day - 1] : "");
}

Value __SETCENTURY(const Value& onOff) {
  std::string format = upperAscii(setText(kSetDateFormat));
  const bool current = format.find("YYYY") != std::string::npos;
  const Value& v = onOff.deref();
  bool wanted = current;
  if (v.isLogical()) {
    wanted = v.asBool();
  } else if (v.isString()) {
    wanted = upperAscii(v.str()) == "ON";
  }
  if (wanted != current) {
    if (auto p = format.find('Y'); p != std::string::npos) {
      std::size_t end = p;
      while (end < format.size() && format[end] == 'Y') ++end;
      format.replace(p, end - p, wanted ? "YYYY" : "YY");
    }
    setSetting(kSetDateFormat, Value(format));
  }
  return Value(current);
}

void registerDateFunctions() {
  registerFunction("DTOC", [](Args a) { return DTOC(arg(a, 0)); });
  registerFunction("CTOD", [](Args a) { return CTOD(arg(a, 0)); });
  registerFunction("DTOS", [](Args a) { return DTOS(arg(a, 0)); });
  registerFunction("STOD", [](Args a) { return STOD(arg(a, 0)); });
  registerFunction("DATE", [](Args) { return DATE(); });
  registerFunction("TIME", [](Args) { return TIME(); });
  registerFunction("SECONDS", [](Args) { return SECONDS(); });
  registerFunction("DAY", [](Args a) { return DAY(arg(a, 0)); });
  registerFunction("MONTH", [](Args a) { return MONTH(arg(a, 0)); });
  registerFunction("YEAR", [](Args a) { return YEAR(arg(a, 0)); });
  registerFunction("DOW", [](Args a) { return DOW(arg(a, 0)); });
  registerFunction("CMONTH", [](Args a) { return CMONTH(arg(a, 0)); });
  registerFunction("CDOW", [](Args a) { return CDOW(arg(a, 0)); });
  registerFunction("__SETCENTURY", [](Args a) { return __SETCENTURY(arg(a, 0)); });
}

}  // namespace kv
