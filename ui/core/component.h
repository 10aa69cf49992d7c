#pragma once
// Components: library objects with an owner and a list of owned components. Create, given
// the owner, inserts the new component into the owner's list and records the owner; Destroy
// removes it. Destroying a component destroys everything it owns, first to last, each
// through its language object (so a language override of Destroy runs); destroying a form
// therefore destroys all its controls.
#include <vector>

#include "ui/core/libclass.h"
#include "ui/core/libobject.h"

namespace kv::ui {

class Component : public LibObject {
 public:
  ~Component() override;

  Component* owner() const { return owner_; }
  LibObject* ownerObject() const override { return owner_; }
  const std::vector<Component*>& components() const { return components_; }

  // Create: the first argument is the owner (a component object, or nothing).
  void createImpl(Args args) override;
  // Records `owner` and enters this component into its list (a component already owned
  // moves to the new owner).
  void setOwner(Component* owner);

 protected:
  // Leaves the owner's list, then destroys every owned component, first to last.
  void release() override;

 private:
  Component* owner_ = nullptr;
  std::vector<Component*> components_;
};

// The root of the library's class tree (Create, Destroy) and the component class.
extern const LibClass kObjectClass;
extern const LibClass kComponentClass;

}  // namespace kv::ui
