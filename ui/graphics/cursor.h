#pragma once
// Cursors (TCursor): `Name` is a cursor code of the screen's cursor table: 0 default (the
// arrow), -1 none, -2 arrow, -3 cross, -4 I-beam, -5 size all, -6 size NE-SW, -7 size N-S,
// -8 size NW-SE, -9 size W-E, -10 up arrow, -11 hourglass, -18 no, -19 arrow with hourglass,
// -21 the program's own pointing hand ("crHandPoint"). Other codes show the arrow.
#include <QCursor>

#include "ui/graphics/graphicsobject.h"

namespace kv::ui {

// The cursor of a code of the table.
QCursor cursorOfCode(int code);
// True for a code the table holds.
bool isCursorCode(int code);

class Cursor : public GraphicsObject {
 public:
  Cursor() { name_ = Value(0); }
  int code() const { return name_.isNumber() ? name_.asInt() : 0; }
  void setName(const Value& v) override;
  QCursor qcursor() const { return cursorOfCode(code()); }
};

extern const LibClass kCursorClass;
Value TCursor();

}  // namespace kv::ui
