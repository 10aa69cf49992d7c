#include "runtime/format/numfmt.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "runtime/lang/functions.h"
#include "runtime/lang/settings.h"
#include "runtime/lang/symbols.h"

namespace kv {

namespace {

// Whole and fraction digits of a magnitude, the fraction rounded half up to `dec` digits.
struct Digits {
  std::string whole;  // no leading zeros; "0" for a whole part of zero
  std::string frac;   // exactly `dec` digits
  bool ok = true;     // false for infinities, NaN and magnitudes beyond any field
};

// Adds one to the last digit of `s`, carrying; answers false when the carry runs off the
// front.
bool increment(std::string& s) {
  for (std::size_t i = s.size(); i-- > 0;) {
    if (s[i] != '9') {
      ++s[i];
      return true;
    }
    s[i] = '0';
  }
  return false;
}

void trimLeadingZeros(std::string& whole) {
  std::size_t k = whole.find_first_not_of('0');
  whole = k == std::string::npos ? "0" : whole.substr(k);
}

Digits splitDouble(double magnitude, int dec) {
  Digits r;
  if (!std::isfinite(magnitude) || magnitude >= 1e64) {
    r.ok = false;
    return r;
  }
  // The value's decimal form with 15 significant digits, so binary fractions such as
  // 1.005 round as they are written.
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", magnitude);
  char mant[15];
  mant[0] = buf[0];
  for (int i = 0; i < 14; ++i) mant[i + 1] = buf[i + 2];
  const int point = std::atoi(buf + 17) + 1;  // count of whole digits
  auto digitAt = [&](int k) { return k >= 0 && k < 15 ? mant[k] : '0'; };
  std::string all;
  for (int k = 0; k < point; ++k) all += digitAt(k);
  for (int f = 0; f < dec; ++f) all += digitAt(point + f);
  if (digitAt(point + dec) >= '5') {
    if (!increment(all)) all.insert(all.begin(), '1');
  }
  const std::size_t split = all.size() - static_cast<std::size_t>(dec);
  r.whole = all.substr(0, split);
  r.frac = all.substr(split);
  trimLeadingZeros(r.whole);
  return r;
}

int normalWidth(int width) {
  if (width <= 0) return 10;
  return width > kMaxNumberWidth ? kMaxNumberWidth : width;
}

int fittedDecimals(int dec, int width) {
  if (dec < 0) return 0;
  return dec >= width ? width - 1 : dec;
}

std::string layOut(bool negative, const Digits& d, int width, int dec) {
  if (!d.ok) return std::string(static_cast<std::size_t>(width), '*');
  const bool zeroWhole = d.whole == "0";
  // Between -1 and 0 the sign shows only when decimals are printed.
  const bool sign = negative && (!zeroWhole || dec > 0);
  std::string text = sign ? "-" : "";
  std::string fraction = dec > 0 ? "." + d.frac : std::string();
  std::string full = text + d.whole + fraction;
  const auto w = static_cast<std::size_t>(width);
  if (full.size() <= w) return std::string(w - full.size(), ' ') + full;
  if (zeroWhole && dec > 0) {
    std::string shortText = text + fraction;
    if (shortText.size() <= w) return std::string(w - shortText.size(), ' ') + shortText;
  }
  return std::string(w, '*');
}

std::string fullText(bool negative, const Digits& d, int dec) {
  return std::string(negative ? "-" : "") + d.whole + (dec > 0 ? "." + d.frac : "");
}

Digits splitInteger(std::int64_t magnitude, int dec) {
  Digits r;
  r.whole = std::to_string(magnitude);
  r.frac = std::string(static_cast<std::size_t>(dec), '0');
  return r;
}

bool numberArgOk(const Value& v) {
  return v.isNil() || v.isNumber();
}

}  // namespace

void displayLayout(const Value& number, int& width, int& decimals) {
  const Value& v = number.deref();
  width = v.width();
  decimals = v.decimals();
  if (width > 0) return;
  if (setFlag(kSetFixed)) decimals = setNumber(kSetDecimals);
  if (decimals < 0) decimals = 0;
  const double value = v.asDouble();
  const double magnitude = std::fabs(value);
  width = magnitude < 1e9 ? 10 : 20;
  if (decimals > 0) width += decimals + 1;
  if (value < 0) {
    Digits d = v.isInteger() ? splitInteger(-static_cast<std::int64_t>(v.asInt()), decimals)
                             : splitDouble(magnitude, decimals);
    const auto needed = static_cast<int>(fullText(true, d, decimals).size());
    if (d.ok && needed == width + 1) width = needed;
  }
  if (width > kMaxNumberWidth) width = kMaxNumberWidth;
  if (decimals >= width) decimals = width - 1;
}

std::string formatNumber(double value, int width, int decimals) {
  width = normalWidth(width);
  decimals = fittedDecimals(decimals, width);
  return layOut(value < 0, splitDouble(std::fabs(value), decimals), width, decimals);
}

std::string formatInteger(std::int64_t value, int width, int decimals) {
  width = normalWidth(width);
  decimals = fittedDecimals(decimals, width);
  return layOut(value < 0, splitInteger(value < 0 ? -value : value, decimals), width, decimals);
}

std::string formatValue(const Value& number, int width, int decimals) {
  const Value& v = number.deref();
  if (v.isInteger()) return formatInteger(v.asInt(), width, decimals);
  return formatNumber(v.asDouble(), width, decimals);
}

double parseNumber(std::string_view text, int& decimals) {
  const auto dot = text.find('.');
  decimals = dot == std::string_view::npos ? 0 : static_cast<int>(text.size() - dot - 1);
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::string scan;
  if (i < text.size() && text[i] == '-') {
    scan += '-';
    ++i;
  }
  bool any = false;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    scan += text[i++];
    any = true;
  }
  if (i < text.size() && text[i] == '.') {
    scan += text[i++];
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      scan += text[i++];
      any = true;
    }
  }
  if (!any) return 0.0;
  const double r = std::strtod(scan.c_str(), nullptr);
  return r == 0.0 ? 0.0 : r;  // no negative zero from "-0"
}

Value STR(const Value& number, const Value& width, const Value& decimals) {
  const Value& n = number.deref();
  const Value& w = width.deref();
  const Value& d = decimals.deref();
  if (!n.isNumber() || !numberArgOk(w) || !numberArgOk(d)) {
    return raiseArgError("STR", 1099, {number, width, decimals});
  }
  int wd = 0;
  int dc = 0;
  if (w.isNil()) {
    displayLayout(n, wd, dc);
  } else {
    wd = w.asInt();
    dc = d.isNil() ? 0 : d.asInt();
  }
  return Value(formatValue(n, wd, dc));
}

Value STRZERO(const Value& number, const Value& width, const Value& decimals) {
  const Value& n = number.deref();
  if (!n.isNumber() || !numberArgOk(width.deref()) || !numberArgOk(decimals.deref())) {
    return raiseArgError("STRZERO", 1099, {number, width, decimals});
  }
  std::string s(STR(number, width, decimals).str());
  const std::size_t k = s.find_first_not_of(' ');
  if (k == std::string::npos || k == 0) return Value(s);
  const std::string zeros(k, '0');
  if (auto minus = s.find('-'); minus != std::string::npos) {
    return Value("-" + zeros + s.substr(minus + 1));
  }
  return Value(zeros + s.substr(k));
}

Value VAL(const Value& text) {
  const Value& t = text.deref();
  if (!t.isString()) return raiseArgError("VAL", 1098, {text});
  std::string_view s = t.str();
  if (s.size() >= 64) return Value::integer(0, 10);
  int dec = 0;
  const double v = parseNumber(s, dec);
  const int width = static_cast<int>(s.size());
  if (dec == 0 && width < 10) return Value::integer(static_cast<std::int32_t>(v), 10);
  return Value::number(v, width, dec);
}

void registerNumberFunctions() {
  registerFunction("STR", [](Args a) { return STR(arg(a, 0), arg(a, 1), arg(a, 2)); });
  registerFunction("STRZERO", [](Args a) { return STRZERO(arg(a, 0), arg(a, 1), arg(a, 2)); });
  registerFunction("VAL", [](Args a) { return VAL(arg(a, 0)); });
}

}  // namespace kv
