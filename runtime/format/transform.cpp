#include "runtime/format/transform.h"

#include <utility>

#include "runtime/format/dates.h"
#include "runtime/format/numfmt.h"
#include "runtime/lang/functions.h"
#include "runtime/lang/symbols.h"
#include "runtime/lib/strings.h"

namespace kv {

namespace {

char upperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isFill(char c) {
  return c == '*' || c == '$';
}

// Digit places of a number template before and after its first ".".
void templatePlaces(std::string_view templ, int& before, int& after) {
  before = after = 0;
  bool point = false;
  for (char c : templ) {
    if (c == '.' && !point) {
      point = true;
    } else if (isTemplateLetter(c) || isFill(c)) {
      ++(point ? after : before);
    }
  }
}

// Lays the formatted number `s` over the template from the left.
std::string mergeNumber(const std::string& s, std::string_view templ, int decimals, bool european) {
  std::string out;
  std::size_t si = 0;
  bool point = false;
  auto next = [&]() { return si < s.size() ? s[si++] : ' '; };
  for (char t : templ) {
    if (isTemplateLetter(t) || isFill(t)) {
      char c = next();
      if (isFill(t) && c == ' ') c = t;
      out += c;
    } else if (t == '.' && !point && decimals > 0) {
      point = true;
      const char c = next();
      out += c == '.' ? (european ? ',' : '.') : c;
    } else if (t == ',') {
      const char prev = out.empty() ? ' ' : out.back();
      if (isDigit(prev)) {
        out += european ? '.' : ',';
      } else if (prev == '-') {
        out.back() = ' ';  // the sign moves next to the digits
        out += '-';
      } else {
        out += isFill(prev) ? prev : ' ';
      }
    } else {
      out += t;
    }
  }
  return out;
}

std::string transformNumber(const Value& number, const Picture& pic) {
  const bool european = pic.has('E');
  const double value = number.asDouble();
  const bool negative = value < 0;
  // In parentheses the sign needs no place of its own: the magnitude is formatted.
  const bool parens = negative && (pic.has('(') || pic.has(')'));
  Value n = number;
  if (parens) {
    n = number.isInteger() && value > -2147483648.0 ? Value::integer(-number.asInt())
                                                    : Value::number(-value);
    n.setWidth(number.width(), number.decimals());
  }
  std::string out;
  if (pic.templ.empty()) {
    int width = 0;
    int dec = 0;
    displayLayout(n, width, dec);
    out = formatValue(n, width, dec);
    if (european) {
      for (char& c : out) {
        if (c == '.') {
          c = ',';
        } else if (c == ',') {
          c = '.';
        }
      }
    }
  } else {
    int before = 0;
    int after = 0;
    templatePlaces(pic.templ, before, after);
    const int width = before + (after > 0 ? after + 1 : 0);
    if (width == 0) {
      out = pic.templ;  // a template of literals only
    } else {
      out = mergeNumber(formatValue(n, width, after), pic.templ, after, european);
    }
  }
  if (pic.has('Z') && value == 0.0) return std::string(out.size(), ' ');
  if (parens) {
    const auto first = out.find_first_not_of(' ');
    if (pic.has(')') && !pic.has('(') && first != std::string::npos && first > 0) {
      out[first - 1] = '(';
      out += ')';
    } else {
      out = "(" + out + ")";
    }
  }
  if (pic.has('B')) {
    const auto first = out.find_first_not_of(' ');
    if (first != std::string::npos && first > 0) out = out.substr(first) + std::string(first, ' ');
  }
  if (pic.has('C') && value > 0) out += " CR";
  if (pic.has('X') && negative) out += " DB";
  return out;
}

std::string transformText(std::string_view s, const Picture& pic) {
  const bool upper = pic.has('!');
  if (pic.templ.empty()) return upper ? upperText(s) : std::string(s);
  const bool insert = pic.has('R');
  std::string out;
  std::size_t si = 0;
  for (char t : pic.templ) {
    if (isTemplateLetter(t)) {
      char c = si < s.size() ? s[si] : ' ';
      ++si;
      if (upper || t == '!') c = static_cast<char>(upperByte(static_cast<unsigned char>(c)));
      out += c;
    } else {
      out += t;
      if (!insert) ++si;  // the literal stands in place of the value's character
    }
  }
  return out;
}

std::string transformLogical(bool v, const Picture& pic) {
  const bool yesNo = pic.templ.find('Y') != std::string::npos;
  const char letter = yesNo ? (v ? 'Y' : 'N') : (v ? 'T' : 'F');
  if (pic.templ.empty()) return std::string(1, letter);
  std::string out;
  bool placed = false;
  for (char t : pic.templ) {
    if (isTemplateLetter(t)) {
      out += placed ? ' ' : letter;
      placed = true;
    } else {
      out += t;
    }
  }
  return out;
}

std::string transformDate(std::int32_t julian, const Picture& pic) {
  std::string format = activeDateFormat();
  if (pic.has('E')) {
    const auto d = format.find("DD");
    const auto m = format.find("MM");
    if (d != std::string::npos && m != std::string::npos) {
      std::swap(format[d], format[m]);
      std::swap(format[d + 1], format[m + 1]);
    }
  }
  return dateToText(julian, format);
}

}  // namespace

bool isTemplateLetter(char c) {
  switch (c) {
    case '9':
    case '#':
    case 'A':
    case 'N':
    case 'X':
    case 'L':
    case 'Y':
    case '!':
      return true;
    default:
      return false;
  }
}

Picture parsePicture(std::string_view picture) {
  Picture p;
  if (picture.empty() || picture[0] != '@') {
    p.templ = std::string(picture);
    return p;
  }
  const auto blank = picture.find(' ');
  std::string_view fn =
      picture.substr(1, blank == std::string_view::npos ? std::string_view::npos : blank - 1);
  for (char c : fn) p.functions += upperAscii(c);
  if (blank != std::string_view::npos) p.templ = std::string(picture.substr(blank + 1));
  return p;
}

Value TRANSFORM(const Value& value, const Value& picture) {
  const Value& v = value.deref();
  const Value& p = picture.deref();
  if (!p.isString()) return raiseArgError("TRANSFORM", 1122, {value, picture});
  const Picture pic = parsePicture(p.str());
  if (v.isNumber()) return Value(transformNumber(v, pic));
  if (v.isString()) return Value(transformText(v.str(), pic));
  if (v.isDate()) return Value(transformDate(v.julian(), pic));
  if (v.isLogical()) return Value(transformLogical(v.asBool(), pic));
  return raiseArgError("TRANSFORM", 1122, {value, picture});
}

void registerTransformFunctions() {
  registerFunction("TRANSFORM", [](Args a) { return TRANSFORM(arg(a, 0), arg(a, 1)); });
}

}  // namespace kv
