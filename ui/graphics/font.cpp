#include "ui/graphics/font.h"

#include "ui/core/fonts.h"
#include "ui/core/messages.h"
#include "ui/core/text.h"

namespace kv::ui {

namespace {

template <bool Font::*Flag>
void flag(ClassDef* cls, const char* name, const char* setter) {
  property<Font>(
      cls, name, [](Font& f) { return Value(f.*Flag); },
      [setter](Font& f, const Value& v, Args a) {
        if (boolArg(v, f.*Flag, setter, a)) f.touch();
      });
}

void registerFont(ClassDef* cls) {
  method<Font>(cls, "Assign", [](Font& f, Args a) -> Value {
    if (Font* other = libraryAs<Font>(arg(a, 0))) {
      f.assign(*other);
    } else {
      guiError(kGuiArgument, "ASSIGN", a);
    }
    return Value();
  });
  flag<&Font::bold>(cls, "Bold", "_BOLD");
  property<Font>(
      cls, "Color", [](Font& f) { return Value(f.color); },
      [](Font& f, const Value& v, Args a) {
        if (intArg(v, f.color, "_COLOR", a)) f.touch();
      });
  property<Font>(
      cls, "Height", [](Font& f) { return Value(f.height()); },
      [](Font& f, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_HEIGHT", a)) f.setHeight(n);
      });
  flag<&Font::italic>(cls, "Italic", "_ITALIC");
  property<Font>(
      cls, "Size", [](Font& f) { return Value(f.size()); },
      [](Font& f, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_SIZE", a)) f.setSize(n);
      });
  flag<&Font::strikeOut>(cls, "StrikeOut", "_STRIKEOUT");
  flag<&Font::underline>(cls, "Underline", "_UNDERLINE");
}

LibObject* makeFont() {
  return new Font;
}

}  // namespace

const LibClass kFontClass = {"TFont", &kGraphicsObjectClass, &makeFont, &registerFont};

Value TFont() {
  return classFunction(kFontClass);
}

Font::Font() : size_(kDefaultPointSize) {
  name_ = Value(kDefaultFace);
}

std::string Font::face() const {
  return name_.isString() ? std::string(name_.str()) : std::string(kDefaultFace);
}

void Font::setName(const Value& v) {
  const Value& d = v.deref();
  if (!d.isString()) {
    guiError(kGuiArgument, "_NAME", {});
    return;
  }
  name_ = Value(d.str());
  notify();
}

void Font::setSize(int points) {
  size_ = points > 0 ? points : kDefaultPointSize;
  notify();
}

// Pixels at 96 dots per inch; a negative height is the character height.
int Font::height() const {
  return -(size_ * 96 + 36) / 72;
}

void Font::setHeight(int height) {
  const int pixels = height < 0 ? -height : height;
  setSize((pixels * 72 + 48) / 96);
}

void Font::assign(const Font& other) {
  name_ = other.name_;
  size_ = other.size_;
  bold = other.bold;
  italic = other.italic;
  underline = other.underline;
  strikeOut = other.strikeOut;
  color = other.color;
  notify();
}

QFont Font::qfont() const {
  QFont f = libraryFont(toQString(face()), size_);
  f.setBold(bold);
  f.setItalic(italic);
  f.setUnderline(underline);
  f.setStrikeOut(strikeOut);
  return f;
}

}  // namespace kv::ui
