#include "engine/fieldconv.h"

#include <cstdlib>

#include "runtime/dates.h"
#include "runtime/numfmt.h"

namespace kv::engine {

std::string formatNumber(double value, int width, int dec) {
  if (width <= 0) return std::string();
  // The runtime's rule, so a field shows a number exactly as STR does; the runtime's text is
  // at most kMaxNumberWidth wide, a wider field gets leading blanks.
  std::string s = kv::formatNumber(value, width, dec < 0 ? 0 : dec);
  if (s.size() < static_cast<std::size_t>(width)) {
    s.insert(0, width - s.size(), !s.empty() && s[0] == '*' ? '*' : ' ');
  }
  return s;
}

double parseNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::string s;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) s += text[i++];
  bool digits = false, point = false;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      s += c;
      digits = true;
    } else if (c == '.' && !point) {
      s += c;
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0.0;
  return std::strtod(s.c_str(), nullptr);
}

std::int32_t julianFromYmd(int y, int m, int d) {
  return julianFromCalendar(d, m, y);
}

void ymdFromJulian(std::int32_t j, int& y, int& m, int& d) {
  const CalendarDate c = calendarDate(j);
  y = c.year;
  m = c.month;
  d = c.day;
}

std::string dateToStored(std::int32_t julian) {
  return kv::dateToStored(julian);
}

std::int32_t dateFromStored(std::string_view t) {
  return storedToDate(t);
}

}  // namespace kv::engine
