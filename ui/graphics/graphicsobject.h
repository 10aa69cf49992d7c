#pragma once
// Graphics objects: the owned sub-objects of controls (font, brush, pen, pictures, cursor).
// Each is a library object with Name/_Name; its owner learns of every change through
// `changed`, so it can show the change. SubObject<T> is how an owner holds one: the object
// and its language object are made with the owner and destroyed with it.
#include <functional>

#include "ui/core/libclass.h"
#include "ui/core/libobject.h"

namespace kv::ui {

class GraphicsObject : public LibObject {
 public:
  // The Name property: a plain value here; classes that load by name override setName.
  const Value& name() const { return name_; }
  virtual void setName(const Value& v) { name_ = v; }
  // A number naming the object (the Handle property).
  int handle() const { return handle_; }

  LibObject* ownerObject() const override { return owner; }
  LibObject* owner = nullptr;
  std::function<void()> changed;

 protected:
  GraphicsObject();
  ~GraphicsObject() override;
  void notify() {
    if (changed) changed();
  }
  Value name_;

 private:
  int handle_;
};

// The live graphics object whose Handle is `handle`, null for none (a drawing call given a
// bitmap's or icon's handle finds the image through it).
GraphicsObject* graphicsObjectOf(int handle);

extern const LibClass kGraphicsObjectClass;

template <class T>
class SubObject {
 public:
  SubObject(const LibClass& lc, LibObject* owner, std::function<void()> changed = {})
      : object_(classFunction(lc)), ptr_(libraryAs<T>(object_)) {
    if (ptr_) {
      ptr_->owner = owner;
      ptr_->changed = std::move(changed);
      alive_ = ptr_->alive();
    }
  }
  ~SubObject() { reset(); }
  SubObject(const SubObject&) = delete;
  SubObject& operator=(const SubObject&) = delete;

  T* get() const { return alive_ ? ptr_ : nullptr; }
  T* operator->() const { return get(); }
  const Value& object() const { return object_; }
  // Destroys the sub-object now (the owner is being destroyed).
  void reset() {
    if (T* p = get()) {
      p->owner = nullptr;
      p->changed = nullptr;
      p->destroyImpl();
    }
    alive_ = Alive();
    object_ = Value();
  }

 private:
  Value object_;
  T* ptr_;
  Alive alive_;
};

}  // namespace kv::ui
