#include "ui/graphics/graphicsobject.h"

#include "ui/core/component.h"
#include "ui/core/messages.h"

namespace kv::ui {

namespace {

int g_nextHandle = 0;

void registerGraphicsObject(ClassDef* cls) {
  property<GraphicsObject>(
      cls, "Name", [](GraphicsObject& g) { return g.name(); },
      [](GraphicsObject& g, const Value& v, Args) { g.setName(v); });
  readOnly<GraphicsObject>(cls, "Handle", [](GraphicsObject& g) { return Value(g.handle()); });
}

}  // namespace

GraphicsObject::GraphicsObject() : handle_(++g_nextHandle) {}

const LibClass kGraphicsObjectClass = {"TGraphicsObject", &kObjectClass, nullptr,
                                       &registerGraphicsObject};

}  // namespace kv::ui
