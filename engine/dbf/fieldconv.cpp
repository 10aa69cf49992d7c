#include "engine/dbf/fieldconv.h"

#include <cstdlib>

#include "runtime/format/numfmt.h"

namespace kv::engine {

std::string numberToField(double value, int width, int dec) {
  if (width <= 0) return std::string();
  // The runtime's rule, so a field shows a number exactly as STR does; the runtime's text is
  // at most kMaxNumberWidth wide, a wider field gets leading blanks.
  std::string s = kv::formatNumber(value, width, dec < 0 ? 0 : dec);
  if (s.size() < static_cast<std::size_t>(width)) {
    s.insert(0, width - s.size(), !s.empty() && s[0] == '*' ? '*' : ' ');
  }
  return s;
}

double numberFromField(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  // Up to 15 significant digits are gathered as an exact integer and divided once by an
  // exact power of ten, which rounds exactly as a full decimal conversion does; longer texts
  // go through strtod.
  std::uint64_t mant = 0;
  int digits = 0, scale = 0;
  bool point = false, any = false, longText = false;
  std::size_t start = i;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      any = true;
      if (mant == 0 && c == '0') {
        if (point) ++scale;
        continue;
      }
      if (++digits > 15) longText = true;
      mant = mant * 10 + static_cast<std::uint64_t>(c - '0');
      if (point) ++scale;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!any) return 0.0;
  if (longText || scale > 22) {
    std::string s(text.substr(start, i - start));
    double v = std::strtod(s.c_str(), nullptr);
    return negative ? -v : v;
  }
  static const double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  double v = static_cast<double>(mant) / kPow10[scale];
  return negative ? -v : v;
}

}  // namespace kv::engine
