// Comparison operators of compiled expressions. Equality and ordering follow the runtime's
// comparison rules (runtime/value/compare.h), so an expression, ASCAN and ASORT agree; "$" (text
// contained in text) is the expressions' own.
#include "runtime/error/error.h"
#include "runtime/macro/nodes.h"
#include "runtime/value/compare.h"

namespace kv::macro {

Value cmpEqual(const Value& a, const Value& b) {
  return compareValues(CompareOp::Equal, a, b);
}
Value cmpExactEqual(const Value& a, const Value& b) {
  return compareValues(CompareOp::ExactEqual, a, b);
}
Value cmpNotEqual(const Value& a, const Value& b) {
  return compareValues(CompareOp::NotEqual, a, b);
}
Value cmpLess(const Value& a, const Value& b) {
  return compareValues(CompareOp::Less, a, b);
}
Value cmpLessEqual(const Value& a, const Value& b) {
  return compareValues(CompareOp::LessEqual, a, b);
}
Value cmpGreater(const Value& a, const Value& b) {
  return compareValues(CompareOp::Greater, a, b);
}
Value cmpGreaterEqual(const Value& a, const Value& b) {
  return compareValues(CompareOp::GreaterEqual, a, b);
}

Value cmpContains(const Value& x, const Value& y) {
  const Value& a = x.deref();
  const Value& b = y.deref();
  if (!a.isString() || !b.isString()) {
    Value args[2] = {a, b};
    return argumentError("$", 1109, Args(args, 2));
  }
  return Value(!a.str().empty() && b.str().find(a.str()) != std::string_view::npos);
}

}  // namespace kv::macro
