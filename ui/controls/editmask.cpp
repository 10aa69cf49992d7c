#include "ui/controls/editmask.h"

#include <algorithm>
#include <cmath>

#include "runtime/format/dates.h"
#include "runtime/format/numfmt.h"
#include "runtime/lib/strings.h"
#include "runtime/format/transform.h"

namespace kv::ui {

namespace {

bool isDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}

// Letters of the code page: those with a case pair, and the ASCII letters.
bool isLetter(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  return c >= 0x80 && upperByte(c) != lowerByte(c);
}

bool isPlaceholder(char t) {
  switch (t) {
    case '9':
    case '#':
    case '!':
    case 'A':
    case 'N':
    case 'X':
    case 'L':
    case 'Y':
      return true;
    default:
      return false;
  }
}

std::string dropLeadingBlanks(std::string s) {
  const std::size_t first = s.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : s.substr(first);
}

// The date template of a date format: its D, M and Y places become "9".
std::string dateTemplate(const std::string& format) {
  std::string t = format;
  for (char& c : t) {
    if (c == 'D' || c == 'M' || c == 'Y') c = '9';
  }
  return t;
}

}  // namespace

EditMask::EditMask() : value_(std::string_view()) {
  applyPicture();
}

void EditMask::setValue(const Value& v) {
  const Value& d = v.deref();
  if (d.isNumber()) {
    type_ = MaskType::Numeric;
    value_ = d;
  } else if (d.isDate()) {
    type_ = MaskType::Date;
    value_ = d;
  } else if (d.isLogical()) {
    type_ = MaskType::Logical;
    value_ = d;
  } else {
    type_ = MaskType::Character;
    value_ = d.isString() ? Value(d.str()) : Value(std::string_view());
  }
  edited_ = false;
  applyPicture();
}

void EditMask::setPicture(std::string_view picture) {
  if (edited_) value_ = value();
  edited_ = false;
  picture_ = std::string(picture);
  applyPicture();
}

void EditMask::applyPicture() {
  const Picture pic = parsePicture(picture_);
  functions_ = pic.functions;
  std::string t = pic.templ;
  decimals_ = 0;
  signedTemplate_ = false;
  fullTempl_.clear();
  switch (type_) {
    case MaskType::Character:
      if (t.empty()) t.assign(value_.str().size(), 'X');
      break;
    case MaskType::Date:
      if (t.empty()) t = dateTemplate(activeDateFormat());
      break;
    case MaskType::Logical:
      if (t.empty()) t = "L";
      t.resize(1);
      break;
    case MaskType::Numeric: {
      if (t.empty()) {
        int w = 0, d = 0;
        displayLayout(value_, w, d);
        d = std::max(0, d);
        t = std::string(10, '9');
        if (d > 0) t += "." + std::string(static_cast<std::size_t>(d), '9');
      }
      if (!t.empty() && t[0] == '-') {
        signedTemplate_ = true;
        t[0] = '9';
      }
      fullTempl_ = t;
      t.erase(std::remove(t.begin(), t.end(), ','), t.end());
      const std::size_t point = t.find('.');
      if (point != std::string::npos) decimals_ = static_cast<int>(t.size() - point - 1);
      break;
    }
  }
  templ_ = t;
  showValue();
}

char EditMask::decimalMark() const {
  return functions_.find('E') != std::string::npos ? ',' : '.';
}

void EditMask::showValue() {
  switch (type_) {
    case MaskType::Character:
      text_ = std::string(value_.str());
      break;
    case MaskType::Date:
      text_ = dateToText(value_.julian(), activeDateFormat());
      text_.resize(templ_.size(), ' ');
      break;
    case MaskType::Logical: {
      const bool yes = value_.asBool();
      text_ = templ_ == "Y" ? (yes ? "Y" : "N") : (yes ? "T" : "F");
      break;
    }
    case MaskType::Numeric: {
      text_ = dropLeadingBlanks(
          formatNumber(value_.asDouble(), static_cast<int>(templ_.size()), decimals_));
      std::replace(text_.begin(), text_.end(), '.', decimalMark());
      normaliseNumber();
      break;
    }
  }
  if (static_cast<int>(text_.size()) > maxLength()) text_.resize(templ_.size());
  caret_ = std::min(caret_, static_cast<int>(text_.size()));
  selStart_ = 0;
  selLength_ = 0;
}

Value EditMask::value() const {
  switch (type_) {
    case MaskType::Character:
      return Value(text_);
    case MaskType::Date: {
      bool blank = true;
      for (std::size_t i = 0; i < text_.size(); ++i) {
        if (i < templ_.size() && isPlaceholder(templ_[i]) && text_[i] != ' ') blank = false;
      }
      return blank ? Value::date(0) : CTOD(Value(text_));
    }
    case MaskType::Logical:
      return Value(!text_.empty() && (text_[0] == 'T' || text_[0] == 'Y'));
    case MaskType::Numeric: {
      std::string t = text_;
      std::replace(t.begin(), t.end(), decimalMark(), '.');
      int dec = 0;
      const double d = t.empty() ? 0.0 : parseNumber(t, dec);
      if (decimals_ == 0 && std::abs(d) < 2147483647.0) {
        return Value::integer(static_cast<std::int32_t>(d), maxLength());
      }
      return Value::number(d, maxLength(), decimals_);
    }
  }
  return Value();
}

std::string EditMask::shownText(bool focused) const {
  if (type_ != MaskType::Numeric || focused) return text_;
  std::string templ = fullTempl_;
  if (signedTemplate_ && !templ.empty()) templ[0] = '9';
  std::string pic = functions_.empty() ? templ : "@" + functions_ + " " + templ;
  const Value shown = TRANSFORM(value(), Value(pic));
  return dropLeadingBlanks(shown.isString() ? std::string(shown.str()) : text_);
}

void EditMask::setCaret(int caret) {
  caret_ = std::clamp(caret, 0, static_cast<int>(text_.size()));
  selStart_ = caret_;
  selLength_ = 0;
}

void EditMask::setSelection(int start, int length) {
  const int size = static_cast<int>(text_.size());
  selStart_ = std::clamp(start, 0, size);
  selLength_ = std::clamp(length, 0, size - selStart_);
  caret_ = selStart_;
}

int EditMask::entryCaret() const {
  return type_ == MaskType::Numeric ? pointPos() : 0;
}

int EditMask::pointPos() const {
  const std::size_t p = text_.find(decimalMark());
  return p == std::string::npos ? static_cast<int>(text_.size()) : static_cast<int>(p);
}

int EditMask::integerRoom() const {
  const std::size_t p = templ_.find('.');
  return p == std::string::npos ? static_cast<int>(templ_.size()) : static_cast<int>(p);
}

// Rebuilds a numeric text as sign, integer digits, the mark and exactly `decimals_` digits;
// leading zeros of the integer part go (the caret moves with the text before it).
void EditMask::normaliseNumber() {
  const char mark = decimalMark();
  const std::size_t p = text_.find(mark);
  std::string intPart = p == std::string::npos ? text_ : text_.substr(0, p);
  std::string decPart = p == std::string::npos ? std::string() : text_.substr(p + 1);
  std::string sign;
  std::string digits;
  int caret = caret_;
  for (std::size_t i = 0; i < intPart.size(); ++i) {
    const char c = intPart[i];
    if (c == '-' && sign.empty() && digits.empty()) {
      sign = "-";
    } else if (isDigit(static_cast<unsigned char>(c))) {
      digits.push_back(c);
    } else if (static_cast<int>(i) < caret_) {
      --caret;  // blanks, asterisks and other leftovers go
    }
  }
  while (digits.size() > 1 && digits[0] == '0') {
    digits.erase(0, 1);
    if (caret > static_cast<int>(sign.size())) --caret;
  }
  std::string decimals;
  for (char c : decPart) {
    if (isDigit(static_cast<unsigned char>(c))) decimals.push_back(c);
  }
  decimals.resize(static_cast<std::size_t>(decimals_), '0');
  text_ = sign + digits;
  if (decimals_ > 0) text_ += mark + decimals;
  caret_ = std::clamp(caret, 0, static_cast<int>(text_.size()));
}

bool EditMask::admits(char t, unsigned char& c) const {
  const bool upper = functions_.find('!') != std::string::npos;
  if (functions_.find('A') != std::string::npos && !isLetter(c)) return false;
  switch (t) {
    case '9':
      return isDigit(c);
    case '#':
      return isDigit(c) || c == ' ' || c == '+' || c == '-';
    case '!':
      c = upperByte(c);
      return true;
    case 'A':
      if (!isLetter(c)) return false;
      break;
    case 'N':
      if (!isLetter(c) && !isDigit(c)) return false;
      break;
    case 'X':
      break;
    case 'L':
      c = upperByte(c);
      return c == 'T' || c == 'F' || c == 'Y' || c == 'N';
    case 'Y':
      c = upperByte(c);
      return c == 'Y' || c == 'N';
    default:
      // A literal: a date edit takes only that very character there.
      return type_ == MaskType::Date && c == static_cast<unsigned char>(t);
  }
  if (upper) c = upperByte(c);
  return true;
}

bool EditMask::typeChar(unsigned char c) {
  if (c < 0x20 || c == 0x7F) return false;
  const std::string oldText = text_;
  const int oldCaret = caret_, oldStart = selStart_, oldLength = selLength_;
  auto refuse = [&] {
    text_ = oldText;
    caret_ = oldCaret;
    selStart_ = oldStart;
    selLength_ = oldLength;
    return false;
  };
  if (type_ == MaskType::Numeric) {
    deleteSelection();
    if (!typeNumeric(c)) return refuse();
    edited_ = true;
    return true;
  }
  // Typing over a selection puts the character in the selection's place.
  bool insert = false;
  if (type_ == MaskType::Character) {
    insert = deleteSelection();
  } else if (selLength_ > 0) {
    caret_ = selStart_;  // date and logical edits type over the selection's first place
    selLength_ = 0;
  }
  const int size = maxLength();
  if (type_ == MaskType::Character) {
    // The caret passes over literals, which stand in the text.
    while (caret_ < size && !isPlaceholder(templ_[static_cast<std::size_t>(caret_)])) {
      if (caret_ >= static_cast<int>(text_.size()))
        text_.push_back(templ_[static_cast<std::size_t>(caret_)]);
      ++caret_;
    }
  }
  if (caret_ >= size) return refuse();
  if (!admits(templ_[static_cast<std::size_t>(caret_)], c)) return refuse();
  if (insert) {
    text_.insert(static_cast<std::size_t>(caret_), 1, static_cast<char>(c));
  } else if (caret_ < static_cast<int>(text_.size())) {
    text_[static_cast<std::size_t>(caret_)] = static_cast<char>(c);
  } else {
    text_.push_back(static_cast<char>(c));
  }
  if (static_cast<int>(text_.size()) > size) text_.resize(static_cast<std::size_t>(size));
  ++caret_;
  if (type_ == MaskType::Date) {
    while (caret_ < size && !isPlaceholder(templ_[static_cast<std::size_t>(caret_)])) ++caret_;
  }
  caret_ = std::min(caret_, static_cast<int>(text_.size()));
  selStart_ = caret_;
  edited_ = true;
  return true;
}

bool EditMask::typeNumeric(unsigned char c) {
  const int point = pointPos();
  if (c == '.' || c == ',') {
    if (decimals_ == 0) return false;
    caret_ = point + 1;
    selStart_ = caret_;
    return true;
  }
  const bool hasSign = !text_.empty() && text_[0] == '-';
  if (c == '+' || c == '-') {
    if (caret_ != 0) return false;
    if (c == '+') {
      if (hasSign) text_.erase(0, 1);
      return true;
    }
    if (!signedTemplate_ || hasSign) return false;
    text_.insert(0, 1, '-');
    caret_ = 1;
  } else if (!isDigit(c)) {
    return false;
  } else if (caret_ <= point) {
    if (hasSign && caret_ == 0) return false;
    // A lone zero in the integer part gives way to the digit typed.
    if (text_.substr(hasSign ? 1 : 0, static_cast<std::size_t>(point - (hasSign ? 1 : 0))) == "0") {
      text_.erase(hasSign ? 1 : 0, 1);
      caret_ = hasSign ? 1 : 0;
    }
    text_.insert(static_cast<std::size_t>(caret_), 1, static_cast<char>(c));
    ++caret_;
  } else {
    if (caret_ >= static_cast<int>(text_.size())) return false;  // every decimal is typed
    text_[static_cast<std::size_t>(caret_)] = static_cast<char>(c);
    ++caret_;
  }
  normaliseNumber();
  if (pointPos() > integerRoom()) return false;
  selStart_ = caret_;
  return true;
}

bool EditMask::deleteSelection() {
  if (selLength_ <= 0) return false;
  const auto start = static_cast<std::size_t>(selStart_);
  const auto length = static_cast<std::size_t>(selLength_);
  if (type_ == MaskType::Date || type_ == MaskType::Logical) {
    for (std::size_t i = start; i < start + length && i < text_.size(); ++i) {
      if (i < templ_.size() && isPlaceholder(templ_[i])) text_[i] = ' ';
    }
  } else {
    text_.erase(start, length);
  }
  caret_ = selStart_;
  selLength_ = 0;
  if (type_ == MaskType::Numeric) normaliseNumber();
  selStart_ = caret_;
  edited_ = true;
  return true;
}

bool EditMask::backspace() {
  if (deleteSelection()) return true;
  if (caret_ <= 0) return false;
  const int pos = caret_ - 1;
  const auto at = static_cast<std::size_t>(pos);
  switch (type_) {
    case MaskType::Character:
      text_.erase(at, 1);
      break;
    case MaskType::Numeric:
      if (text_[at] == decimalMark()) break;
      text_.erase(at, 1);
      if (pos > pointPos()) text_.push_back('0');
      break;
    default:
      if (at < templ_.size() && isPlaceholder(templ_[at])) text_[at] = ' ';
      break;
  }
  caret_ = pos;
  if (type_ == MaskType::Numeric) normaliseNumber();
  selStart_ = caret_;
  edited_ = true;
  return true;
}

bool EditMask::deleteChar() {
  if (deleteSelection()) return true;
  if (caret_ >= static_cast<int>(text_.size())) return false;
  const auto at = static_cast<std::size_t>(caret_);
  if (type_ == MaskType::Numeric) {
    if (text_[at] == decimalMark()) return false;
    const bool inDecimals = caret_ > pointPos();
    text_.erase(at, 1);
    if (inDecimals) text_.push_back('0');
    normaliseNumber();
  } else if (type_ == MaskType::Character || (at < templ_.size() && isPlaceholder(templ_[at]))) {
    text_[at] = ' ';
  }
  selStart_ = caret_;
  edited_ = true;
  return true;
}

}  // namespace kv::ui
