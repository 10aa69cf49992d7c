#include "runtime/lib/arrays.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "runtime/error/error.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/functions.h"
#include "runtime/value/compare.h"

namespace kv {

namespace {

// Every block evaluation of this module goes through the runtime's one path, EVAL, which
// keeps the block alive while it runs.
Value callBlock(const Value& block, std::initializer_list<Value> args) {
  return EVAL(block, args);
}

bool isTrue(const Value& v) {
  return v.deref().isLogical() && v.deref().asBool();
}

// The 0-based half-open range [first, last) that a first index and a count select in an
// array of n elements.
struct Range {
  std::size_t first;
  std::size_t last;
};

Range selectRange(std::size_t n, const Value& startV, const Value& countV) {
  const Value& s = startV.deref();
  const Value& c = countV.deref();
  std::int64_t start = s.isNumber() ? s.asInt() : 1;
  if (start < 1) start = 1;
  if (static_cast<std::uint64_t>(start) > n) return {n, n};
  std::int64_t avail = static_cast<std::int64_t>(n) - start + 1;
  std::int64_t count = c.isNumber() ? c.asInt() : avail;
  if (count < 0) count = 0;
  count = std::min(count, avail);
  auto first = static_cast<std::size_t>(start - 1);
  return {first, first + static_cast<std::size_t>(count)};
}

// Position argument (1-based) as a 0-based index, or n when it is outside [1, n].
std::size_t positionIndex(std::size_t n, const Value& posV) {
  const Value& p = posV.deref();
  if (!p.isNumber()) return n;
  std::int64_t pos = p.asInt();
  if (pos < 1 || static_cast<std::uint64_t>(pos) > n) return n;
  return static_cast<std::size_t>(pos - 1);
}

Value newDimensions(Args dims, std::size_t level) {
  std::int32_t n = dims[level].deref().asInt();
  Value a = Value::newArray(static_cast<std::size_t>(n));
  if (level + 1 < dims.size()) {
    for (auto& item : a.arr()->items) item = newDimensions(dims, level + 1);
  }
  return a;
}

Value cloneArray(const Value& a, std::unordered_map<const ArrayData*, Value>& done) {
  const ArrayData* src = a.arr();
  auto it = done.find(src);
  if (it != done.end()) return it->second;
  ArrayPtr copy = newArrayData();
  copy->cls = src->cls;
  Value result = Value::array(copy);
  done.emplace(src, result);
  copy->items.reserve(src->items.size());
  for (std::size_t i = 0; i < src->items.size(); ++i) {
    const Value& item = src->items[i];
    copy->items.push_back(item.isArray() && !item.isObject() ? cloneArray(item, done) : item);
  }
  return result;
}

// The runtime's quicksort over a vector of values. The pivot is the middle element of the
// range, moved to its first position; scanning from both ends, elements "less than" the
// pivot gather on the left and all others on the right; the pivot then goes between the
// two parts. The smaller part is sorted by recursion and the larger one by iteration, so
// the recursion depth stays logarithmic.
class QuickSort {
 public:
  QuickSort(ValueVector& v, const Value& block) : v_(v), block_(block) {}

  void sort(std::ptrdiff_t lo, std::ptrdiff_t hi) {
    while (lo < hi) {
      std::ptrdiff_t p = partition(lo, hi);
      if (p - lo <= hi - p) {
        sort(lo, p - 1);
        lo = p + 1;
      } else {
        sort(p + 1, hi);
        hi = p - 1;
      }
    }
  }

 private:
  bool less(const Value& x, const Value& y) {
    if (block_.isBlock()) return isTrue(callBlock(block_, {x, y}));
    return valueLess(x, y);
  }

  std::ptrdiff_t partition(std::ptrdiff_t lo, std::ptrdiff_t hi) {
    std::ptrdiff_t mid = lo + (hi - lo) / 2;
    if (mid != lo) std::swap(v_[lo], v_[mid]);
    const Value pivot = v_[lo];
    std::ptrdiff_t i = lo + 1, j = hi;
    for (;;) {
      while (i <= j && less(v_[i], pivot)) ++i;
      while (j >= i && !less(v_[j], pivot)) --j;
      if (i >= j) break;
      std::swap(v_[i], v_[j]);
      ++i;
      --j;
    }
    // v_[j] is the last element less than the pivot (or the pivot itself).
    if (j != lo) std::swap(v_[lo], v_[j]);
    return j;
  }

  ValueVector& v_;
  const Value& block_;
};

}  // namespace

Value AADD(const Value& av, const Value& v) {
  ArrayPtr a = av.deref().arrayPtr();
  if (!a) return raiseArgError("AADD", 1123, {av.deref(), v.deref()});
  Value item = v.deref();
  a->items.push_back(item);
  return item;
}

Value ARRAY(Args dims) {
  if (dims.empty()) return raiseArgError("ARRAY", 1131, {});
  // The elements of every level together: a count no memory can hold (a typed or damaged
  // number of many digits) is refused like a negative one, not tried.
  constexpr double kMaxElements = 16.0 * 1024 * 1024;
  double total = 1, level = 1;
  for (const Value& d : dims) {
    if (d.deref().isNumber()) level *= std::max(0.0, d.deref().asDouble());
    total += level;
  }
  for (const Value& d : dims) {
    if (!d.deref().isNumber() || d.deref().asInt() < 0 || !(total <= kMaxElements)) {
      std::vector<Value> argv;
      for (const Value& x : dims) argv.push_back(x.deref());
      return argumentError("ARRAY", 1131, Args(argv));
    }
  }
  return newDimensions(dims, 0);
}

Value ARRAY(std::int32_t n) {
  Value d(static_cast<int>(n));
  return ARRAY(Args(&d, 1));
}

Value AFILL(const Value& av, const Value& v, const Value& start, const Value& count) {
  ArrayPtr a = av.deref().arrayPtr();
  if (!a) return Value();
  Range r = selectRange(a->items.size(), start, count);
  for (std::size_t i = r.first; i < r.last; ++i) a->items[i] = v.deref();
  return av.deref();
}

Value ACLONE(const Value& av) {
  const Value& a = av.deref();
  if (!a.isArray()) return Value();
  std::unordered_map<const ArrayData*, Value> done;
  return cloneArray(a, done);
}

std::int32_t ASCAN(const Value& av, const Value& targetV, const Value& start, const Value& count) {
  ArrayPtr a = av.deref().arrayPtr();
  if (!a) return 0;
  const Value& target = targetV.deref();
  Range r = selectRange(a->items.size(), start, count);
  for (std::size_t i = r.first; i < r.last && i < a->items.size(); ++i) {
    Value item = a->items[i];
    bool match;
    if (target.isBlock()) {
      match = isTrue(callBlock(target, {item}));
    } else {
      match = valuesEqual(item, target);
    }
    if (match) return static_cast<std::int32_t>(i + 1);
  }
  return 0;
}

Value ASORT(const Value& av, const Value& start, const Value& count, const Value& blockV) {
  ArrayPtr a = av.deref().arrayPtr();
  if (!a) return Value();
  Range r = selectRange(a->items.size(), start, count);
  if (r.last - r.first < 2) return av.deref();
  // The range is sorted in a copy and written back, so a block that changes the array
  // while the sort runs cannot pull elements from under it.
  ValueVector work(a->items.begin() + static_cast<std::ptrdiff_t>(r.first),
                   a->items.begin() + static_cast<std::ptrdiff_t>(r.last));
  Value block = blockV.deref();
  QuickSort(work, block).sort(0, static_cast<std::ptrdiff_t>(work.size()) - 1);
  for (std::size_t i = 0; i < work.size() && r.first + i < a->items.size(); ++i) {
    a->items[r.first + i] = std::move(work[i]);
  }
  return av.deref();
}

Value AEVAL(const Value& av, const Value& blockV, const Value& start, const Value& count) {
  ArrayPtr a = av.deref().arrayPtr();
  const Value& block = blockV.deref();
  if (!a || !block.isBlock()) {
    return raiseArgError("AEVAL", 2017, {av.deref(), block, start.deref(), count.deref()});
  }
  Range r = selectRange(a->items.size(), start, count);
  for (std::size_t i = r.first; i < r.last && i < a->items.size(); ++i) {
    Value item = a->items[i];
    callBlock(block, {item, Value(static_cast<int>(i + 1))});
  }
  return av.deref();
}

Value ASIZE(const Value& av, const Value& nV) {
  ArrayPtr a = av.deref().arrayPtr();
  const Value& n = nV.deref();
  if (!a || !n.isNumber()) return raiseArgError("ASIZE", 2023, {av.deref(), n});
  std::int64_t size = std::max<std::int64_t>(0, n.asInt());
  a->items.resize(static_cast<std::size_t>(size));
  return av.deref();
}

Value ADEL(const Value& av, const Value& pos) {
  ArrayPtr a = av.deref().arrayPtr();
  if (!a) return Value();
  auto& items = a->items;
  std::size_t i = positionIndex(items.size(), pos);
  if (i < items.size()) {
    std::move(items.begin() + static_cast<std::ptrdiff_t>(i) + 1, items.end(),
              items.begin() + static_cast<std::ptrdiff_t>(i));
    items.back() = Value();
  }
  return av.deref();
}

Value AINS(const Value& av, const Value& pos) {
  ArrayPtr a = av.deref().arrayPtr();
  if (!a) return Value();
  auto& items = a->items;
  std::size_t i = positionIndex(items.size(), pos);
  if (i < items.size()) {
    std::move_backward(items.begin() + static_cast<std::ptrdiff_t>(i), items.end() - 1,
                       items.end());
    items[i] = Value();
  }
  return av.deref();
}

Value LEN(const Value& vv) {
  const Value& v = vv.deref();
  if (v.isArray()) return Value(static_cast<int>(v.arrayLen()));
  if (v.isString()) return Value(static_cast<int>(v.str().size()));
  return raiseArgError("LEN", 1111, {v});
}

void registerArrayFunctions() {
  registerFunction("AADD", [](Args a) { return AADD(arg(a, 0), arg(a, 1)); });
  registerFunction("ARRAY", [](Args a) { return ARRAY(a); });
  registerFunction("AFILL",
                   [](Args a) { return AFILL(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3)); });
  registerFunction("ACLONE", [](Args a) { return ACLONE(arg(a, 0)); });
  registerFunction("ASCAN", [](Args a) {
    return Value(static_cast<int>(ASCAN(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3))));
  });
  registerFunction("ASORT",
                   [](Args a) { return ASORT(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3)); });
  registerFunction("AEVAL",
                   [](Args a) { return AEVAL(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3)); });
  registerFunction("ASIZE", [](Args a) { return ASIZE(arg(a, 0), arg(a, 1)); });
  registerFunction("ADEL", [](Args a) { return ADEL(arg(a, 0), arg(a, 1)); });
  registerFunction("AINS", [](Args a) { return AINS(arg(a, 0), arg(a, 1)); });
  registerFunction("LEN", [](Args a) { return LEN(arg(a, 0)); });
}

}  // namespace kv
