#include "engine/ntx/ntx_keyvalue.h"

#include <algorithm>

#include "engine/ntx/ntx_format.h"
#include "engine/ntx/ntx_key.h"
#include "runtime/error/error.h"
#include "runtime/format/dates.h"
#include "runtime/format/numfmt.h"

namespace kv::ntx {

namespace {

constexpr int kKeyTypeError = 1242;
constexpr int kMaxKeyDecimals = 254;

// The number right-justified in `width` characters. The formatter handles at most
// kMaxNumberWidth characters; wider keys get blanks in front (zeros after the transform).
std::string numberText(const Value& v, int width, int decimals) {
  if (width <= kMaxNumberWidth) return formatValue(v, width, decimals);
  std::string s = formatValue(v, kMaxNumberWidth, std::min(decimals, kMaxNumberWidth - 1));
  return std::string(std::size_t(width - kMaxNumberWidth), ' ') + s;
}

}  // namespace

std::string keyFromValue(const Value& value, int keySize, int decimals) {
  const Value& v = value.deref();
  const std::size_t n = std::size_t(std::max(keySize, 0));
  if (v.isString()) {
    std::string s(v.str().substr(0, n));
    s.resize(n, ' ');
    return s;
  }
  if (v.isNumber()) {
    std::string s = numberText(v, keySize, decimals);
    numericTransform(s);
    s.resize(n, ' ');
    return s;
  }
  if (v.isDate()) {
    std::string s = dateToStored(v.julian());
    s.resize(n, ' ');
    return s;
  }
  if (v.isLogical()) {
    std::string s(v.asBool() ? "T" : "F");
    s.resize(n, ' ');
    return s;
  }
  internalError(kKeyTypeError);
}

std::string seekKeyFromValue(const Value& value, int keySize, int decimals) {
  const Value& v = value.deref();
  if (v.isString()) return std::string(v.str().substr(0, std::size_t(std::max(keySize, 0))));
  return keyFromValue(v, keySize, decimals);
}

bool keyLayoutFromValue(const Value& value, KeyLayout& out, const std::string& fileName) {
  const Value& v = value.deref();
  out = KeyLayout{};
  if (v.isString()) {
    out.size = int(std::min<std::size_t>(v.str().size(), kMaxKeySize));
  } else if (v.isNumber()) {
    int w = 0, d = 0;
    displayLayout(v, w, d);
    if (v.isInteger()) d = 0;
    out.size = std::min(w, kMaxKeySize);
    out.decimals = std::clamp(d, 0, kMaxKeyDecimals);
  } else if (v.isDate()) {
    out.size = 8;
  } else if (v.isLogical()) {
    out.size = 1;
  } else {
    internalError(kKeyTypeError);
  }
  if (out.size <= 0) {
    raiseNtxError(EG_DATAWIDTH, kDbKeyWidth, fileName);
    return false;
  }
  return true;
}

}  // namespace kv::ntx
