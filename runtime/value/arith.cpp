#include "runtime/value/arith.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "runtime/error/error.h"
#include "runtime/lang/settings.h"

namespace kv {

namespace {

Value operatorError(const char* op, int subCode, const Value& a, const Value* b) {
  ErrorRecord e = baseError(EG_ARG, subCode, op).with({a});
  if (b) e.with({*b});
  return raiseForSubstitute(e);
}

// An integer result when it fits in 32 bits, else a double without decimals.
Value fromInt64(std::int64_t v) {
  if (v >= INT32_MIN && v <= INT32_MAX) return Value(static_cast<int>(v));
  return Value::number(static_cast<double>(v), 0, 0);
}

int defaultDecimals() {
  return std::max(0, setNumber(kSetDecimals));
}

Value dateValue(std::int64_t julian) {
  if (julian <= 0 || julian > INT32_MAX) return Value::date(0);
  return Value::date(static_cast<std::int32_t>(julian));
}

// Day count of a number used in date arithmetic (fractions are dropped). A magnitude past
// 2^40 days (far beyond any date) is held there and a value that is no number is 0, so the
// sum stays in range and dateValue answers the empty date.
std::int64_t days(const Value& n) {
  if (n.isInteger()) return n.asInt();
  constexpr double kLimit = 1099511627776.0;
  const double d = n.asDouble();
  if (d != d) return 0;
  if (d >= kLimit) return static_cast<std::int64_t>(kLimit);
  if (d <= -kLimit) return -static_cast<std::int64_t>(kLimit);
  return static_cast<std::int64_t>(d);
}

}  // namespace

Value opPlus(const Value& x, const Value& y) {
  const Value& a = x.deref();
  const Value& b = y.deref();
  if (a.isInteger() && b.isInteger()) {
    return fromInt64(static_cast<std::int64_t>(a.asInt()) + b.asInt());
  }
  if (a.isNumber() && b.isNumber()) {
    return Value::number(a.asDouble() + b.asDouble(), 0, std::max(a.decimals(), b.decimals()));
  }
  if (a.isString() && b.isString()) {
    std::string s;
    s.reserve(a.str().size() + b.str().size());
    s.append(a.str());
    s.append(b.str());
    return Value(s);
  }
  if (a.isDate() && b.isNumber()) return dateValue(a.julian() + days(b));
  if (a.isNumber() && b.isDate()) return dateValue(b.julian() + days(a));
  return operatorError("+", 1081, a, &b);
}

Value opMinus(const Value& x, const Value& y) {
  const Value& a = x.deref();
  const Value& b = y.deref();
  if (a.isInteger() && b.isInteger()) {
    return fromInt64(static_cast<std::int64_t>(a.asInt()) - b.asInt());
  }
  if (a.isNumber() && b.isNumber()) {
    return Value::number(a.asDouble() - b.asDouble(), 0, std::max(a.decimals(), b.decimals()));
  }
  if (a.isString() && b.isString()) {
    std::string_view left = a.str();
    std::size_t keep = left.find_last_not_of(' ');
    keep = keep == std::string_view::npos ? 0 : keep + 1;
    std::string s(left.substr(0, keep));
    s.append(b.str());
    s.append(left.size() - keep, ' ');
    return Value(s);
  }
  if (a.isDate() && b.isDate()) return Value(a.julian() - b.julian());
  if (a.isDate() && b.isNumber()) return dateValue(a.julian() - days(b));
  return operatorError("-", 1082, a, &b);
}

Value opMult(const Value& x, const Value& y) {
  const Value& a = x.deref();
  const Value& b = y.deref();
  if (a.isInteger() && b.isInteger()) {
    return fromInt64(static_cast<std::int64_t>(a.asInt()) * b.asInt());
  }
  if (a.isNumber() && b.isNumber()) {
    return Value::number(a.asDouble() * b.asDouble(), 0, a.decimals() + b.decimals());
  }
  return operatorError("*", 1083, a, &b);
}

Value opDivide(const Value& x, const Value& y) {
  const Value& a = x.deref();
  const Value& b = y.deref();
  if (!a.isNumber() || !b.isNumber()) return operatorError("/", 1084, a, &b);
  if (b.asDouble() == 0.0) return zeroDivisionError(a, b, "/");
  return Value::number(a.asDouble() / b.asDouble(), 0, defaultDecimals());
}

Value opModulus(const Value& x, const Value& y) {
  const Value& a = x.deref();
  const Value& b = y.deref();
  if (!a.isNumber() || !b.isNumber()) return operatorError("%", 1085, a, &b);
  if (b.asDouble() == 0.0) return zeroDivisionError(a, b, "%");
  if (a.isInteger() && b.isInteger()) {
    return fromInt64(static_cast<std::int64_t>(a.asInt()) % b.asInt());
  }
  return Value::number(std::fmod(a.asDouble(), b.asDouble()), 0,
                       std::max(a.decimals(), b.decimals()));
}

Value opPower(const Value& x, const Value& y) {
  const Value& a = x.deref();
  const Value& b = y.deref();
  if (!a.isNumber() || !b.isNumber()) return operatorError("^", 1088, a, &b);
  return Value::number(std::pow(a.asDouble(), b.asDouble()), 0, defaultDecimals());
}

Value opNegate(const Value& x) {
  const Value& a = x.deref();
  if (a.isInteger()) {
    if (a.asInt() == INT32_MIN) return Value::number(-static_cast<double>(a.asInt()), 0, 0);
    return Value::integer(-a.asInt(), a.width());
  }
  if (a.isDouble()) return Value::number(-a.asDouble(), a.width(), a.decimals());
  return operatorError("-", 1080, a, nullptr);
}

Value opIncrement(const Value& x) {
  const Value& a = x.deref();
  if (a.isDate()) return dateValue(static_cast<std::int64_t>(a.julian()) + 1);
  if (a.isInteger()) return fromInt64(static_cast<std::int64_t>(a.asInt()) + 1);
  if (a.isDouble()) return Value::number(a.asDouble() + 1, 0, a.decimals());
  return operatorError("++", 1086, a, nullptr);
}

Value opDecrement(const Value& x) {
  const Value& a = x.deref();
  if (a.isDate()) return dateValue(static_cast<std::int64_t>(a.julian()) - 1);
  if (a.isInteger()) return fromInt64(static_cast<std::int64_t>(a.asInt()) - 1);
  if (a.isDouble()) return Value::number(a.asDouble() - 1, 0, a.decimals());
  return operatorError("--", 1087, a, nullptr);
}

}  // namespace kv
