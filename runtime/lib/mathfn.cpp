#include "runtime/lib/mathfn.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "runtime/format/numfmt.h"
#include "runtime/lang/functions.h"
#include "runtime/lang/settings.h"
#include "runtime/lang/symbols.h"

namespace kv {

namespace {

bool fitsInt(double v) {
  return v >= -2147483648.0 && v <= 2147483647.0;
}

// 0 = not comparable, 1 = numbers, 2 = dates.
int comparableKind(const Value& a, const Value& b) {
  if (a.isNumber() && b.isNumber()) return 1;
  if (a.isDate() && b.isDate()) return 2;
  return 0;
}

// A computed result: no width yet, the decimals of setting 3 (as a quotient has).
Value computed(double v) {
  return Value::number(v, 0, std::max(0, setNumber(kSetDecimals)));
}

}  // namespace

double roundHalfUp(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  if (decimals < 0) {
    // Past 10^308 every finite value rounds to 0 (and -decimals might not be an int).
    if (decimals < -308) return 0.0;
    const double scale = std::pow(10.0, -decimals);
    return roundHalfUp(value / scale, 0) * scale;
  }
  if (decimals > 30) decimals = 30;
  // The decimal text of the rounded magnitude, read back: the same digits STR would show.
  const double magnitude = std::fabs(value);
  if (magnitude >= 1e17) return value;  // no fraction left at double precision
  const std::string text = formatNumber(magnitude, kMaxNumberWidth, decimals);
  const double r = std::strtod(text.c_str(), nullptr);
  return value < 0 && r != 0.0 ? -r : r;
}

Value ROUND(const Value& number, const Value& decimals) {
  const Value& n = number.deref();
  const Value& d = decimals.deref();
  if (!n.isNumber() || !d.isNumber()) return raiseArgError("ROUND", 1094, {number, decimals});
  const int dec = d.asInt();
  if (n.isInteger() && dec >= 0) return n;
  return Value::number(roundHalfUp(n.asDouble(), dec), 0, dec > 0 ? dec : 0);
}

Value INT(const Value& number) {
  const Value& n = number.deref();
  if (!n.isNumber()) return raiseArgError("INT", 1090, {number});
  if (n.isInteger()) return Value::integer(n.asInt());
  const double t = std::trunc(n.asDouble());
  if (fitsInt(t)) return Value::integer(static_cast<std::int32_t>(t));
  return Value::number(t);
}

Value ABS(const Value& number) {
  const Value& n = number.deref();
  if (!n.isNumber()) return raiseArgError("ABS", 1089, {number});
  if (n.isInteger()) {
    const std::int32_t i = n.asInt();
    if (i == std::numeric_limits<std::int32_t>::min()) {
      return Value::number(-static_cast<double>(i), n.width(), n.decimals());
    }
    Value r = Value::integer(i < 0 ? -i : i);
    r.setWidth(n.width(), n.decimals());
    return r;
  }
  return Value::number(std::fabs(n.asDouble()), n.width(), n.decimals());
}

Value MIN(const Value& a, const Value& b) {
  const Value& x = a.deref();
  const Value& y = b.deref();
  switch (comparableKind(x, y)) {
    case 1:
      return y.asDouble() < x.asDouble() ? y : x;
    case 2:
      return y.julian() < x.julian() ? y : x;
  }
  return raiseArgError("MIN", 1092, {a, b});
}

Value MAX(const Value& a, const Value& b) {
  const Value& x = a.deref();
  const Value& y = b.deref();
  switch (comparableKind(x, y)) {
    case 1:
      return y.asDouble() > x.asDouble() ? y : x;
    case 2:
      return y.julian() > x.julian() ? y : x;
  }
  return raiseArgError("MAX", 1093, {a, b});
}

Value SQRT(const Value& number) {
  const Value& n = number.deref();
  if (!n.isNumber()) return raiseArgError("SQRT", 1097, {number});
  const double v = n.asDouble();
  return computed(v > 0 ? std::sqrt(v) : 0.0);
}

Value LOG(const Value& number) {
  const Value& n = number.deref();
  if (!n.isNumber()) return raiseArgError("LOG", 1095, {number});
  const double v = n.asDouble();
  return computed(v > 0 ? std::log(v) : -std::numeric_limits<double>::infinity());
}

Value EXP(const Value& number) {
  const Value& n = number.deref();
  if (!n.isNumber()) return raiseArgError("EXP", 1096, {number});
  return computed(std::exp(n.asDouble()));
}

void registerMathFunctions() {
  registerFunction("ROUND", [](Args a) { return ROUND(arg(a, 0), arg(a, 1)); });
  registerFunction("INT", [](Args a) { return INT(arg(a, 0)); });
  registerFunction("ABS", [](Args a) { return ABS(arg(a, 0)); });
  registerFunction("MIN", [](Args a) { return MIN(arg(a, 0), arg(a, 1)); });
  registerFunction("MAX", [](Args a) { return MAX(arg(a, 0), arg(a, 1)); });
  registerFunction("SQRT", [](Args a) { return SQRT(arg(a, 0)); });
  registerFunction("LOG", [](Args a) { return LOG(arg(a, 0)); });
  registerFunction("EXP", [](Args a) { return EXP(arg(a, 0)); });
}

}  // namespace kv
