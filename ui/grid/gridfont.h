#pragma once
// The fonts a grid owns besides its own (SelectedFont, HeaderFont, FooterFont): sub-objects
// with a colour number (see gridcolors.h), boldness and a size in points. A change repaints
// the grid that owns the font.
#include <QFont>

#include "ui/core/libclass.h"
#include "ui/core/libobject.h"

namespace kv::ui {

class StringGrid;

class GridFont : public LibObject {
 public:
  int color = -9;  // system colour 8, the window text
  bool bold = false;
  int size = 0;  // points; 0 takes the grid's own font size
  StringGrid* grid = nullptr;
  LibObject* ownerObject() const override;
  // The Qt font: `base` with this font's boldness and size.
  QFont font(const QFont& base) const;
};

extern const LibClass kGridFontClass;

// A new grid font and its language object, owned by `grid`.
GridFont* makeGridFont(StringGrid* grid, int color, Value& object);

}  // namespace kv::ui
