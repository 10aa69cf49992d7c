#include "ui/graphics/cursor.h"

#include "ui/core/messages.h"
#include "ui/graphics/artwork.h"

namespace kv::ui {

namespace {

struct CursorEntry {
  int code;
  Qt::CursorShape shape;
};

constexpr CursorEntry kCursors[] = {
    {0, Qt::ArrowCursor},       {-1, Qt::BlankCursor},    {-2, Qt::ArrowCursor},
    {-3, Qt::CrossCursor},      {-4, Qt::IBeamCursor},    {-5, Qt::SizeAllCursor},
    {-6, Qt::SizeBDiagCursor},  {-7, Qt::SizeVerCursor},  {-8, Qt::SizeFDiagCursor},
    {-9, Qt::SizeHorCursor},    {-10, Qt::UpArrowCursor}, {-11, Qt::WaitCursor},
    {-18, Qt::ForbiddenCursor}, {-19, Qt::BusyCursor},
};

constexpr int kHandPoint = -21;

void registerCursor(ClassDef*) {}

LibObject* makeCursor() {
  return new Cursor;
}

}  // namespace

const LibClass kCursorClass = {"TCursor", &kGraphicsObjectClass, &makeCursor, &registerCursor};

Value TCursor() {
  return classFunction(kCursorClass);
}

bool isCursorCode(int code) {
  if (code == kHandPoint) return true;
  for (const CursorEntry& e : kCursors) {
    if (e.code == code) return true;
  }
  return false;
}

QCursor cursorOfCode(int code) {
  if (code == kHandPoint) return resourceCursor("crHandPoint");
  for (const CursorEntry& e : kCursors) {
    if (e.code == code) return QCursor(e.shape);
  }
  return QCursor(Qt::ArrowCursor);
}

void Cursor::setName(const Value& v) {
  const Value& d = v.deref();
  if (!d.isNumber()) {
    {
      Value arg = v;
      guiError(kGuiArgument, "_NAME", Args(&arg, 1));
    }
    return;
  }
  name_ = Value(d.asInt());
  notify();
}

}  // namespace kv::ui
