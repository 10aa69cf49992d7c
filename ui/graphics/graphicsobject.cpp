#include "ui/graphics/graphicsobject.h"

#include <unordered_map>

#include "ui/core/component.h"
#include "ui/core/messages.h"

namespace kv::ui {

namespace {

int g_nextHandle = 0;

std::unordered_map<int, GraphicsObject*>& liveObjects() {
  static std::unordered_map<int, GraphicsObject*> live;
  return live;
}

void registerGraphicsObject(ClassDef* cls) {
  property<GraphicsObject>(
      cls, "Name", [](GraphicsObject& g) { return g.name(); },
      [](GraphicsObject& g, const Value& v, Args) { g.setName(v); });
  readOnly<GraphicsObject>(cls, "Handle", [](GraphicsObject& g) { return Value(g.handle()); });
}

}  // namespace

GraphicsObject::GraphicsObject() : handle_(++g_nextHandle) {
  liveObjects()[handle_] = this;
}

GraphicsObject::~GraphicsObject() {
  liveObjects().erase(handle_);
}

GraphicsObject* graphicsObjectOf(int handle) {
  auto it = liveObjects().find(handle);
  return it == liveObjects().end() ? nullptr : it->second;
}

const LibClass kGraphicsObjectClass = {"TGraphicsObject", &kObjectClass, nullptr,
                                       &registerGraphicsObject};

}  // namespace kv::ui
