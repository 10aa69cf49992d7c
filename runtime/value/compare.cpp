#include "runtime/value/compare.h"

#include <algorithm>
#include <cstring>

#include "runtime/error/error.h"
#include "runtime/lang/settings.h"

namespace kv {

namespace {

// Kinds that compare with each other: integers with doubles, characters with memos, plain
// arrays with objects.
enum class Family { Nil, Number, Date, Logical, String, Array, Block, Other };

Family familyOf(const Value& v) {
  switch (v.kind()) {
    case Kind::Nil:
      return Family::Nil;
    case Kind::Integer:
    case Kind::Double:
      return Family::Number;
    case Kind::Date:
      return Family::Date;
    case Kind::Logical:
      return Family::Logical;
    case Kind::Character:
    case Kind::Memo:
      return Family::String;
    case Kind::Array:
      return Family::Array;
    case Kind::Block:
      return Family::Block;
    case Kind::Ref:
      return Family::Other;
  }
  return Family::Other;
}

template <class T>
int threeWay(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// Order of two values of one ordered family (numbers, dates, logicals, strings).
int orderSameFamily(const Value& a, const Value& b, Family f, bool exact) {
  switch (f) {
    case Family::Number:
      if (a.isInteger() && b.isInteger()) return threeWay(a.asInt(), b.asInt());
      return threeWay(a.asDouble(), b.asDouble());
    case Family::Date:
      return threeWay(a.julian(), b.julian());
    case Family::Logical:
      return threeWay(int(a.asBool()), int(b.asBool()));
    case Family::String:
      return compareStrings(a.str(), b.str(), exact);
    default:
      return 0;
  }
}

bool sameCell(const Value& a, const Value& b) {
  if (a.isArray()) return a.arr() == b.arr();
  return a.blk() == b.blk();
}

Value raiseCompareError(CompareOp op, const Value& a, const Value& b) {
  Value args[2] = {a, b};
  return argumentError(compareOpName(op), compareOpSubCode(op), Args(args, 2));
}

}  // namespace

const char* compareOpName(CompareOp op) {
  switch (op) {
    case CompareOp::Equal:
      return "=";
    case CompareOp::ExactEqual:
      return "==";
    case CompareOp::NotEqual:
      return "<>";
    case CompareOp::Less:
      return "<";
    case CompareOp::LessEqual:
      return "<=";
    case CompareOp::Greater:
      return ">";
    case CompareOp::GreaterEqual:
      return ">=";
  }
  return "=";
}

int compareOpSubCode(CompareOp op) {
  switch (op) {
    case CompareOp::ExactEqual:
      return 1070;
    case CompareOp::Equal:
      return 1071;
    case CompareOp::NotEqual:
      return 1072;
    case CompareOp::Less:
      return 1073;
    case CompareOp::LessEqual:
      return 1074;
    case CompareOp::Greater:
      return 1075;
    case CompareOp::GreaterEqual:
      return 1076;
  }
  return 1071;
}

bool equalityComparable(const Value& av, const Value& bv) {
  Family fa = familyOf(av.deref()), fb = familyOf(bv.deref());
  if (fa == Family::Other || fb == Family::Other) return false;
  return fa == Family::Nil || fb == Family::Nil || fa == fb;
}

bool orderComparable(const Value& av, const Value& bv) {
  Family fa = familyOf(av.deref()), fb = familyOf(bv.deref());
  return fa == fb && (fa == Family::Number || fa == Family::Date || fa == Family::Logical ||
                      fa == Family::String);
}

int compareStrings(std::string_view a, std::string_view b, bool exact) {
  std::size_t common = std::min(a.size(), b.size());
  if (common > 0) {
    // memcmp compares as unsigned bytes: no collation, no case folding.
    int r = std::memcmp(a.data(), b.data(), common);
    if (r != 0) return r < 0 ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  if (a.size() < b.size()) return -1;
  // The left operand is longer and begins with the whole right one.
  return exact ? 1 : 0;
}

Value compareValues(CompareOp op, const Value& av, const Value& bv) {
  const Value& a = av.deref();
  const Value& b = bv.deref();
  Family fa = familyOf(a), fb = familyOf(b);
  bool exact = setFlag(kSetExact);

  if (op == CompareOp::Equal || op == CompareOp::ExactEqual || op == CompareOp::NotEqual) {
    bool negate = op == CompareOp::NotEqual;
    if (fa == Family::Nil || fb == Family::Nil) return Value((fa == fb) != negate);
    if (fa != fb || fa == Family::Other) return raiseCompareError(op, a, b);
    bool eq;
    if (fa == Family::Array || fa == Family::Block) {
      eq = sameCell(a, b);
    } else if (fa == Family::String && op == CompareOp::ExactEqual) {
      eq = a.str() == b.str();
    } else {
      eq = orderSameFamily(a, b, fa, exact) == 0;
    }
    return Value(eq != negate);
  }

  if (!orderComparable(a, b)) return raiseCompareError(op, a, b);
  int c = orderSameFamily(a, b, fa, exact);
  switch (op) {
    case CompareOp::Less:
      return Value(c < 0);
    case CompareOp::LessEqual:
      return Value(c <= 0);
    case CompareOp::Greater:
      return Value(c > 0);
    case CompareOp::GreaterEqual:
      return Value(c >= 0);
    default:
      return Value(false);
  }
}

namespace {
bool holds(CompareOp op, const Value& a, const Value& b) {
  Value r = compareValues(op, a, b);
  return r.isLogical() && r.asBool();
}
}  // namespace

bool valuesEqual(const Value& a, const Value& b) {
  return holds(CompareOp::Equal, a, b);
}
bool valuesExactlyEqual(const Value& a, const Value& b) {
  return holds(CompareOp::ExactEqual, a, b);
}
bool valuesNotEqual(const Value& a, const Value& b) {
  return holds(CompareOp::NotEqual, a, b);
}
bool valueLess(const Value& a, const Value& b) {
  return holds(CompareOp::Less, a, b);
}
bool valueLessEqual(const Value& a, const Value& b) {
  return holds(CompareOp::LessEqual, a, b);
}
bool valueGreater(const Value& a, const Value& b) {
  return holds(CompareOp::Greater, a, b);
}
bool valueGreaterEqual(const Value& a, const Value& b) {
  return holds(CompareOp::GreaterEqual, a, b);
}

int compareForOrder(const Value& av, const Value& bv) {
  const Value& a = av.deref();
  const Value& b = bv.deref();
  if (!orderComparable(a, b)) return holds(CompareOp::Less, a, b) ? -1 : 0;
  return orderSameFamily(a, b, familyOf(a), setFlag(kSetExact));
}

}  // namespace kv
