#include "runtime/lib/strings.h"

#include <array>

#include "runtime/error/error.h"
#include "runtime/format/dates.h"
#include "runtime/format/numfmt.h"
#include "runtime/lang/functions.h"
#include "runtime/lang/symbols.h"

namespace kv {

namespace {

struct CaseTables {
  std::array<unsigned char, 256> upper;
  std::array<unsigned char, 256> lower;
  CaseTables() {
    for (int i = 0; i < 256; ++i) upper[i] = lower[i] = static_cast<unsigned char>(i);
    auto pair = [this](int from, int to) {  // lower-case range [from, to] is upper + 0x20
      for (int c = from; c <= to; ++c) {
        upper[c] = static_cast<unsigned char>(c - 0x20);
        lower[c - 0x20] = static_cast<unsigned char>(c);
      }
    };
    pair('a', 'z');
    pair(0xE0, 0xEF);
    pair(0xF1, 0xF6);
    pair(0xF8, 0xFE);
  }
};

const CaseTables& tables() {
  static const CaseTables t;
  return t;
}

bool isCount(const Value& v) {
  return v.deref().isNumber();
}
// A count or position from any number: fractions dropped, a huge magnitude held at 2^48
// (past any text's length) and a value that is no number at all taken as 0, so that the
// arithmetic on it never overflows.
std::int64_t count(const Value& v) {
  constexpr double kLimit = 281474976710656.0;
  const double d = v.deref().asDouble();
  if (d != d) return 0;
  if (d >= kLimit) return static_cast<std::int64_t>(kLimit);
  if (d <= -kLimit) return -static_cast<std::int64_t>(kLimit);
  return static_cast<std::int64_t>(d);
}

Value trimmed(std::string_view s, bool left, bool right) {
  std::size_t b = 0;
  std::size_t e = s.size();
  if (left) {
    while (b < e && s[b] == ' ') ++b;
  }
  if (right) {
    while (e > b && s[e - 1] == ' ') --e;
  }
  return Value(s.substr(b, e - b));
}

// The text a PAD function pads: strings as they are, numbers and dates as they display.
bool padSource(const Value& v, std::string& out) {
  const Value& d = v.deref();
  if (d.isString()) {
    out = std::string(d.str());
  } else if (d.isNumber()) {
    out = std::string(STR(d).str());
  } else if (d.isDate()) {
    out = std::string(DTOC(d).str());
  } else {
    return false;
  }
  return true;
}

Value overflow(const char* name, int subCode, std::initializer_list<Value> args) {
  return raiseForSubstitute(baseError(EG_STROVERFLOW, subCode, name).with(args));
}

enum class PadSide { Right, Left, Center };

Value pad(const char* name, PadSide side, const Value& value, const Value& length,
          const Value& fill) {
  std::string s;
  const Value& f = fill.deref();
  if (!isCount(length) || !(f.isNil() || f.isString()) || !padSource(value, s)) {
    return raiseArgError(name, 1099, {value, length, fill});
  }
  const std::int64_t n = count(length);
  if (n <= 0) return Value("");
  if (static_cast<std::uint64_t>(n) > kMaxStringLength) {
    return overflow(name, 1234, {value, length, fill});
  }
  const char c = f.isString() && !f.str().empty() ? f.str()[0] : ' ';
  const auto len = static_cast<std::size_t>(n);
  if (s.size() >= len) {
    return Value(side == PadSide::Left ? std::string_view(s).substr(s.size() - len)
                                       : std::string_view(s).substr(0, len));
  }
  const std::size_t extra = len - s.size();
  switch (side) {
    case PadSide::Right:
      return Value(s + std::string(extra, c));
    case PadSide::Left:
      return Value(std::string(extra, c) + s);
    case PadSide::Center:
      return Value(std::string(extra / 2, c) + s + std::string(extra - extra / 2, c));
  }
  return Value(s);
}

}  // namespace

unsigned char upperByte(unsigned char c) {
  return tables().upper[c];
}
unsigned char lowerByte(unsigned char c) {
  return tables().lower[c];
}

std::string upperText(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(upperByte(static_cast<unsigned char>(c)));
  return r;
}

std::string lowerText(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(lowerByte(static_cast<unsigned char>(c)));
  return r;
}

Value UPPER(const Value& text) {
  const Value& t = text.deref();
  if (!t.isString()) return raiseArgError("UPPER", 1102, {text});
  return Value(upperText(t.str()));
}

Value LOWER(const Value& text) {
  const Value& t = text.deref();
  if (!t.isString()) return raiseArgError("LOWER", 1103, {text});
  return Value(lowerText(t.str()));
}

Value TRIM(const Value& text) {
  const Value& t = text.deref();
  if (!t.isString()) return raiseArgError("TRIM", 1100, {text});
  return trimmed(t.str(), false, true);
}

Value RTRIM(const Value& text) {
  const Value& t = text.deref();
  if (!t.isString()) return raiseArgError("RTRIM", 1100, {text});
  return trimmed(t.str(), false, true);
}

Value LTRIM(const Value& text) {
  const Value& t = text.deref();
  if (!t.isString()) return raiseArgError("LTRIM", 1101, {text});
  return trimmed(t.str(), true, false);
}

Value ALLTRIM(const Value& text) {
  const Value& t = text.deref();
  if (!t.isString()) return raiseArgError("ALLTRIM", 1100, {text});
  return trimmed(t.str(), true, true);
}

Value PADR(const Value& value, const Value& length, const Value& fill) {
  return pad("PADR", PadSide::Right, value, length, fill);
}

Value PADL(const Value& value, const Value& length, const Value& fill) {
  return pad("PADL", PadSide::Left, value, length, fill);
}

Value PADC(const Value& value, const Value& length, const Value& fill) {
  return pad("PADC", PadSide::Center, value, length, fill);
}

Value SUBSTR(const Value& text, const Value& start, const Value& n) {
  const Value& t = text.deref();
  if (!t.isString() || !isCount(start) || !(n.deref().isNil() || isCount(n))) {
    return raiseArgError("SUBSTR", 1110, {text, start, n});
  }
  std::string_view s = t.str();
  const auto size = static_cast<std::int64_t>(s.size());
  std::int64_t from = count(start);
  if (from < 0) {
    from = size + from;  // -1 is the last character
    if (from < 0) from = 0;
  } else if (from > 0) {
    --from;
  }
  if (from >= size) return Value("");
  std::int64_t len = n.deref().isNil() ? size - from : count(n);
  if (len <= 0) return Value("");
  if (len > size - from) len = size - from;
  return Value(s.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(len)));
}

Value LEFT(const Value& text, const Value& n) {
  const Value& t = text.deref();
  if (!t.isString() || !isCount(n)) return raiseArgError("LEFT", 1124, {text, n});
  const std::int64_t k = count(n);
  if (k <= 0) return Value("");
  return Value(t.str().substr(0, static_cast<std::size_t>(k)));
}

Value RIGHT(const Value& text, const Value& n) {
  const Value& t = text.deref();
  if (!t.isString() || !isCount(n)) return raiseArgError("RIGHT", 1124, {text, n});
  const std::int64_t k = count(n);
  std::string_view s = t.str();
  if (k <= 0) return Value("");
  if (static_cast<std::uint64_t>(k) >= s.size()) return Value(s);
  return Value(s.substr(s.size() - static_cast<std::size_t>(k)));
}

Value AT(const Value& search, const Value& text) {
  const Value& f = search.deref();
  const Value& t = text.deref();
  if (!f.isString() || !t.isString()) return raiseArgError("AT", 1108, {search, text});
  if (f.str().empty()) return Value::integer(0);
  const auto p = t.str().find(f.str());
  return Value::integer(p == std::string_view::npos ? 0 : static_cast<std::int32_t>(p + 1));
}

Value RAT(const Value& search, const Value& text) {
  const Value& f = search.deref();
  const Value& t = text.deref();
  if (!f.isString() || !t.isString()) return raiseArgError("RAT", 1108, {search, text});
  if (f.str().empty()) return Value::integer(0);
  const auto p = t.str().rfind(f.str());
  return Value::integer(p == std::string_view::npos ? 0 : static_cast<std::int32_t>(p + 1));
}

Value STRTRAN(const Value& text, const Value& search, const Value& replace, const Value& first,
              const Value& n) {
  const Value& t = text.deref();
  const Value& f = search.deref();
  const Value& r = replace.deref();
  const bool optionalOk = (r.isNil() || r.isString()) &&
                          (first.deref().isNil() || isCount(first)) &&
                          (n.deref().isNil() || isCount(n));
  if (!t.isString() || !f.isString() || !optionalOk) {
    return raiseArgError("STRTRAN", 1126, {text, search, replace, first, n});
  }
  std::string_view s = t.str();
  std::string_view what = f.str();
  if (what.empty()) return Value(s);
  const std::string_view with = r.isNil() ? std::string_view() : r.str();
  std::int64_t from = first.deref().isNil() ? 1 : count(first);
  if (from < 1) from = 1;
  std::int64_t left = n.deref().isNil() ? -1 : count(n);
  if (left == 0 || (left < 0 && !n.deref().isNil())) return Value(s);
  std::string out;
  std::int64_t seen = 0;
  std::size_t pos = 0;
  while (pos <= s.size()) {
    const auto hit = s.find(what, pos);
    if (hit == std::string_view::npos) break;
    ++seen;
    out.append(s.substr(pos, hit - pos));
    if (seen >= from && left != 0) {
      out.append(with);
      if (left > 0) --left;
    } else {
      out.append(what);
    }
    pos = hit + what.size();
    if (out.size() > kMaxStringLength) return overflow("STRTRAN", 1235, {text, search, replace});
  }
  out.append(s.substr(pos));
  return Value(out);
}

Value REPLICATE(const Value& text, const Value& n) {
  const Value& t = text.deref();
  if (!t.isString() || !isCount(n)) return raiseArgError("REPLICATE", 1106, {text, n});
  const std::int64_t k = count(n);
  if (k <= 0 || t.str().empty()) return Value("");
  if (static_cast<std::uint64_t>(k) > kMaxStringLength / t.str().size()) {
    return overflow("REPLICATE", 1233, {text, n});
  }
  std::string out;
  out.reserve(static_cast<std::size_t>(k) * t.str().size());
  for (std::int64_t i = 0; i < k; ++i) out.append(t.str());
  return Value(out);
}

Value SPACE(const Value& n) {
  if (!isCount(n)) return raiseArgError("SPACE", 1105, {n});
  const std::int64_t k = count(n);
  if (k <= 0) return Value("");
  if (static_cast<std::uint64_t>(k) > kMaxStringLength) return overflow("SPACE", 1233, {n});
  return Value(std::string(static_cast<std::size_t>(k), ' '));
}

Value CHR(const Value& code) {
  if (!isCount(code)) return raiseArgError("CHR", 1104, {code});
  const char c = static_cast<char>(static_cast<unsigned char>(count(code) & 0xFF));
  return Value(std::string_view(&c, 1));
}

Value ASC(const Value& text) {
  const Value& t = text.deref();
  if (!t.isString()) return raiseArgError("ASC", 1107, {text});
  if (t.str().empty()) return Value::integer(0);
  return Value::integer(static_cast<unsigned char>(t.str()[0]));
}

void registerStringFunctions() {
  registerFunction("UPPER", [](Args a) { return UPPER(arg(a, 0)); });
  registerFunction("LOWER", [](Args a) { return LOWER(arg(a, 0)); });
  registerFunction("TRIM", [](Args a) { return TRIM(arg(a, 0)); });
  registerFunction("RTRIM", [](Args a) { return RTRIM(arg(a, 0)); });
  registerFunction("LTRIM", [](Args a) { return LTRIM(arg(a, 0)); });
  registerFunction("ALLTRIM", [](Args a) { return ALLTRIM(arg(a, 0)); });
  registerFunction("PADR", [](Args a) { return PADR(arg(a, 0), arg(a, 1), arg(a, 2)); });
  registerFunction("PADL", [](Args a) { return PADL(arg(a, 0), arg(a, 1), arg(a, 2)); });
  registerFunction("PADC", [](Args a) { return PADC(arg(a, 0), arg(a, 1), arg(a, 2)); });
  registerFunction("SUBSTR", [](Args a) { return SUBSTR(arg(a, 0), arg(a, 1), arg(a, 2)); });
  registerFunction("LEFT", [](Args a) { return LEFT(arg(a, 0), arg(a, 1)); });
  registerFunction("RIGHT", [](Args a) { return RIGHT(arg(a, 0), arg(a, 1)); });
  registerFunction("AT", [](Args a) { return AT(arg(a, 0), arg(a, 1)); });
  registerFunction("RAT", [](Args a) { return RAT(arg(a, 0), arg(a, 1)); });
  registerFunction("STRTRAN", [](Args a) {
    return STRTRAN(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3), arg(a, 4));
  });
  registerFunction("REPLICATE", [](Args a) { return REPLICATE(arg(a, 0), arg(a, 1)); });
  registerFunction("SPACE", [](Args a) { return SPACE(arg(a, 0)); });
  registerFunction("CHR", [](Args a) { return CHR(arg(a, 0)); });
  registerFunction("ASC", [](Args a) { return ASC(arg(a, 0)); });
}

}  // namespace kv
