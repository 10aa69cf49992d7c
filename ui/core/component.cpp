#include "ui/core/component.h"

#include <algorithm>

#include "ui/core/guierror.h"
#include "ui/core/messages.h"

namespace kv::ui {

namespace {

void removeFrom(std::vector<Component*>& list, Component* c) {
  auto it = std::find(list.begin(), list.end(), c);
  if (it != list.end()) list.erase(it);
}

void registerObject(ClassDef* cls) {
  addMethod(cls, "Create", [](const Value& self, Args args) -> Value {
    if (LibObject* lib = libraryOf(self)) lib->createImpl(args);
    return self;
  });
  addMethod(cls, "Destroy", [](const Value& self, Args args) -> Value {
    LibObject* lib = libraryOf(self);
    if (!lib) {
      guiError(kGuiInvalidObject, "DESTROY", args);
      return Value();
    }
    lib->destroyImpl();
    return Value();
  });
}

}  // namespace

const LibClass kObjectClass = {"TObject", nullptr, nullptr, &registerObject};
const LibClass kComponentClass = {"TComponent", &kObjectClass, nullptr, nullptr};

Component::~Component() {
  // Normally empty by now; after an interrupted destruction what is left becomes unowned,
  // so nothing keeps a pointer to this object.
  if (owner_) removeFrom(owner_->components_, this);
  for (Component* c : components_) c->owner_ = nullptr;
}

void Component::createImpl(Args args) {
  setOwner(libraryAs<Component>(arg(args, 0)));
}

void Component::setOwner(Component* owner) {
  if (owner == owner_) return;
  if (owner_) removeFrom(owner_->components_, this);
  owner_ = owner;
  if (owner_) owner_->components_.push_back(this);
}

void Component::release() {
  setOwner(nullptr);
  while (!components_.empty()) {
    Component* c = components_.front();
    Alive alive = c->alive();
    c->destroy();
    // A language Destroy that did not run the library's destruction still leaves this list.
    if (alive && !components_.empty() && components_.front() == c) c->destroyImpl();
  }
}

}  // namespace kv::ui
