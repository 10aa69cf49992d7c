#include "ui/grid/gridfont.h"

#include "ui/core/component.h"
#include "ui/core/messages.h"
#include "ui/grid/stringgrid.h"

namespace kv::ui {

namespace {

void changed(GridFont& f) {
  if (f.grid) f.grid->repaintGrid();
}

void registerGridFont(ClassDef* cls) {
  property<GridFont>(
      cls, "Bold", [](GridFont& f) { return Value(f.bold); },
      [](GridFont& f, const Value& v, Args a) {
        if (boolArg(v, f.bold, "_BOLD", a)) changed(f);
      });
  property<GridFont>(
      cls, "Color", [](GridFont& f) { return Value(f.color); },
      [](GridFont& f, const Value& v, Args a) {
        if (intArg(v, f.color, "_COLOR", a)) changed(f);
      });
  property<GridFont>(
      cls, "Size", [](GridFont& f) { return Value(f.size); },
      [](GridFont& f, const Value& v, Args a) {
        if (intArg(v, f.size, "_SIZE", a)) changed(f);
      });
}

LibObject* construct() {
  return new GridFont;
}

}  // namespace

const LibClass kGridFontClass = {"TGridFont", &kObjectClass, &construct, &registerGridFont};

LibObject* GridFont::ownerObject() const {
  return grid;
}

QFont GridFont::font(const QFont& base) const {
  QFont f = base;
  f.setBold(bold);
  if (size > 0) f.setPointSize(size);
  return f;
}

GridFont* makeGridFont(StringGrid* grid, int color, Value& object) {
  object = classFunction(kGridFontClass);
  auto* f = libraryAs<GridFont>(object);
  if (f) {
    f->grid = grid;
    f->color = color;
  }
  return f;
}

}  // namespace kv::ui
