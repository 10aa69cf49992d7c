#include "ui/graphics/brush.h"

#include <type_traits>

#include "ui/core/messages.h"
#include "ui/graphics/colors.h"

namespace kv::ui {

namespace {

template <class T, int T::*Field>
void number(ClassDef* cls, const char* name, const char* setter, bool isColor = false) {
  property<T>(
      cls, name, [](T& t) { return Value(t.*Field); },
      [setter, isColor](T& t, const Value& v, Args a) {
        if (!intArg(v, t.*Field, setter, a)) return;
        if constexpr (std::is_same_v<T, Brush>) {
          if (isColor) t.colorSet = true;
        }
        t.touch();
      });
}

template <class T>
void assign(ClassDef* cls) {
  method<T>(cls, "Assign", [](T& t, Args a) -> Value {
    T* other = libraryAs<T>(arg(a, 0));
    if (!other) {
      guiError(kGuiArgument, "ASSIGN", a);
      return Value();
    }
    t.color = other->color;
    t.style = other->style;
    if constexpr (std::is_same_v<T, Pen>) t.width = other->width;
    if constexpr (std::is_same_v<T, Brush>) t.colorSet = other->colorSet;
    t.touch();
    return Value();
  });
}

void registerBrush(ClassDef* cls) {
  assign<Brush>(cls);
  number<Brush, &Brush::color>(cls, "Color", "_COLOR", true);
  number<Brush, &Brush::style>(cls, "Style", "_STYLE");
}

void registerPen(ClassDef* cls) {
  assign<Pen>(cls);
  number<Pen, &Pen::color>(cls, "Color", "_COLOR");
  number<Pen, &Pen::style>(cls, "Style", "_STYLE");
  number<Pen, &Pen::width>(cls, "Width", "_WIDTH");
}

LibObject* makeBrush() {
  return new Brush;
}
LibObject* makePen() {
  return new Pen;
}

}  // namespace

const LibClass kBrushClass = {"TBrush", &kGraphicsObjectClass, &makeBrush, &registerBrush};
const LibClass kPenClass = {"TPen", &kGraphicsObjectClass, &makePen, &registerPen};

Value TBrush() {
  return classFunction(kBrushClass);
}
Value TPen() {
  return classFunction(kPenClass);
}

QBrush Brush::qbrush() const {
  if (style == 1) return QBrush(Qt::NoBrush);
  return QBrush(colorOf(color));
}

QPen Pen::qpen() const {
  static constexpr Qt::PenStyle kStyles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                             Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
  QPen p(colorOf(color));
  p.setWidth(width);
  p.setStyle(style >= 0 && style <= 5 ? kStyles[style] : Qt::SolidLine);
  return p;
}

}  // namespace kv::ui
