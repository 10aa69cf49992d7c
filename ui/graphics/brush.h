#pragma once
// The drawing tools: brushes (TBrush: Color, Style; a window control's brush colour is its
// background) and pens (TPen: Color, Style, Width). Assign copies another of the same kind.
// Style 0 is solid; brush style 1 is clear (no fill), pen style 5 is no line.
#include <QBrush>
#include <QPen>

#include "ui/graphics/graphicsobject.h"

namespace kv::ui {

class Brush : public GraphicsObject {
 public:
  int color = 16777215;
  int style = 0;
  bool colorSet = false;  // the program gave a colour (else the control's own background)
  void touch() { notify(); }
  QBrush qbrush() const;
};

class Pen : public GraphicsObject {
 public:
  int color = 0;
  int style = 0;
  int width = 1;
  void touch() { notify(); }
  QPen qpen() const;
};

extern const LibClass kBrushClass;
extern const LibClass kPenClass;
Value TBrush();
Value TPen();

}  // namespace kv::ui
