#include "engine/fieldconv.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kv::engine {

std::string formatNumber(double value, int width, int dec) {
  if (width <= 0) return std::string();
  if (dec < 0) dec = 0;
  if (!std::isfinite(value)) return std::string(static_cast<std::size_t>(width), '*');
  // Round half away from zero at the stored precision, and never store "-0".
  double scale = std::pow(10.0, dec);
  double r = std::round(value * scale) / scale;
  if (r == 0) r = 0.0;
  char buf[400];
  int n = std::snprintf(buf, sizeof buf, "%*.*f", width, dec, r);
  if (n < 0 || n > width) return std::string(static_cast<std::size_t>(width), '*');
  return std::string(buf, static_cast<std::size_t>(n));
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
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) return 0;
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  int dim = kDays[m - 1] + (m == 2 && leap ? 1 : 0);
  if (d > dim) return 0;
  int a = (14 - m) / 12;
  int yy = y + 4800 - a;
  int mm = m + 12 * a - 3;
  return d + (153 * mm + 2) / 5 + 365 * yy + yy / 4 - yy / 100 + yy / 400 - 32045;
}

void ymdFromJulian(std::int32_t j, int& y, int& m, int& d) {
  if (j <= 0) {
    y = m = d = 0;
    return;
  }
  std::int64_t a = j + 32044;
  std::int64_t b = (4 * a + 3) / 146097;
  std::int64_t c = a - 146097 * b / 4;
  std::int64_t dd = (4 * c + 3) / 1461;
  std::int64_t e = c - 1461 * dd / 4;
  std::int64_t mm = (5 * e + 2) / 153;
  d = static_cast<int>(e - (153 * mm + 2) / 5 + 1);
  m = static_cast<int>(mm + 3 - 12 * (mm / 10));
  y = static_cast<int>(100 * b + dd - 4800 + mm / 10);
}

std::string dateToStored(std::int32_t julian) {
  int y, m, d;
  ymdFromJulian(julian, y, m, d);
  if (julian <= 0 || y < 1 || y > 9999) return std::string(8, ' ');
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d);
  return buf;
}

std::int32_t dateFromStored(std::string_view t) {
  if (t.size() < 8) return 0;
  int v[8];
  for (int i = 0; i < 8; ++i) {
    if (t[i] < '0' || t[i] > '9') return 0;
    v[i] = t[i] - '0';
  }
  int y = v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3];
  int m = v[4] * 10 + v[5];
  int d = v[6] * 10 + v[7];
  return julianFromYmd(y, m, d);
}

}  // namespace kv::engine
