// Comparison operators of compiled expressions: equality and ordering of values. Nil equals
// only nil; numbers compare by value whatever their kind; dates and logicals by value;
// strings byte by byte as unsigned bytes, where "=" and the ordering operators (with exact
// comparison off) let a string equal any string it begins with, and "==" needs equal length.
#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/error.h"
#include "runtime/macronodes.h"
#include "runtime/settings.h"

namespace kv::macro {

namespace {

[[noreturn]] void unreachable() {
  __builtin_unreachable();
}

Value compareError(const char* op, int subCode, const Value& a, const Value& b) {
  ErrorSpec e;
  e.genCode = EG_ARG;
  e.subCode = subCode;
  e.subsystem = "BASE";
  e.flags = kCanSubstitute;
  e.operation = op;
  e.args = {a, b};
  return raiseError(e).value;
}

// -1, 0, 1 for two strings under the prefix rule (exact comparison off) or plain byte order.
int compareStrings(std::string_view a, std::string_view b, bool prefixRule) {
  std::size_t n = std::min(a.size(), b.size());
  int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
  if (c != 0) return c < 0 ? -1 : 1;
  if (a.size() == b.size()) return 0;
  if (prefixRule && a.size() > b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// Compares two values of comparable kinds: answers false (and leaves `r`) when the kinds do
// not compare.
bool order(const Value& a, const Value& b, bool prefixRule, int& r) {
  if (a.isNumber() && b.isNumber()) {
    double x = a.asDouble(), y = b.asDouble();
    r = x < y ? -1 : (x > y ? 1 : 0);
    return true;
  }
  if (a.isString() && b.isString()) {
    r = compareStrings(a.str(), b.str(), prefixRule);
    return true;
  }
  if ((a.isDate() && b.isDate()) || (a.isLogical() && b.isLogical())) {
    int x = a.isDate() ? a.julian() : a.asBool();
    int y = b.isDate() ? b.julian() : b.asBool();
    r = x < y ? -1 : (x > y ? 1 : 0);
    return true;
  }
  return false;
}

enum class Op { Lt, Le, Gt, Ge };

Value ordering(const Value& x, const Value& y, Op op) {
  static const struct {
    const char* text;
    int sub;
  } ops[] = {{"<", 1073}, {"<=", 1074}, {">", 1075}, {">=", 1076}};
  const Value& a = x.deref();
  const Value& b = y.deref();
  int r = 0;
  if (!order(a, b, !setFlag(kSetExact), r)) {
    return compareError(ops[static_cast<int>(op)].text, ops[static_cast<int>(op)].sub, a, b);
  }
  switch (op) {
    case Op::Lt:
      return Value(r < 0);
    case Op::Le:
      return Value(r <= 0);
    case Op::Gt:
      return Value(r > 0);
    case Op::Ge:
      return Value(r >= 0);
  }
  unreachable();
}

// Equality under "=" (exact == false) or "==": answers false when the kinds do not compare.
bool equal(const Value& a, const Value& b, bool exact, bool& r) {
  if (a.isNil() || b.isNil()) {
    r = a.isNil() && b.isNil();
    return true;
  }
  if (exact && a.isArray() && b.isArray()) {
    r = a.arr() == b.arr();
    return true;
  }
  if (exact && a.isString() && b.isString()) {
    r = a.str() == b.str();
    return true;
  }
  int c = 0;
  if (!order(a, b, !setFlag(kSetExact), c)) return false;
  r = c == 0;
  return true;
}

}  // namespace

Value cmpEqual(const Value& x, const Value& y) {
  bool r = false;
  if (!equal(x.deref(), y.deref(), false, r)) return compareError("=", 1071, x.deref(), y.deref());
  return Value(r);
}

Value cmpExactEqual(const Value& x, const Value& y) {
  bool r = false;
  if (!equal(x.deref(), y.deref(), true, r)) {
    return compareError("==", 1070, x.deref(), y.deref());
  }
  return Value(r);
}

Value cmpNotEqual(const Value& x, const Value& y) {
  bool r = false;
  if (!equal(x.deref(), y.deref(), false, r)) {
    return compareError("<>", 1072, x.deref(), y.deref());
  }
  return Value(!r);
}

Value cmpLess(const Value& a, const Value& b) {
  return ordering(a, b, Op::Lt);
}
Value cmpLessEqual(const Value& a, const Value& b) {
  return ordering(a, b, Op::Le);
}
Value cmpGreater(const Value& a, const Value& b) {
  return ordering(a, b, Op::Gt);
}
Value cmpGreaterEqual(const Value& a, const Value& b) {
  return ordering(a, b, Op::Ge);
}

Value cmpContains(const Value& x, const Value& y) {
  const Value& a = x.deref();
  const Value& b = y.deref();
  if (!a.isString() || !b.isString()) return compareError("$", 1109, a, b);
  return Value(!a.str().empty() && b.str().find(a.str()) != std::string_view::npos);
}

}  // namespace kv::macro
