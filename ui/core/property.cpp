#include "ui/core/property.h"

#include <memory>

#include "runtime/error/callstack.h"
#include "runtime/error/error.h"
#include "runtime/error/errorchannel.h"
#include "runtime/lang/lifecycle.h"

namespace kv::ui {

namespace {

// The forwarding of one direction. The slot of a variable target is remembered once found.
struct Forward {
  int kind = kPropertyNone;
  const Symbol* target = nullptr;
  std::shared_ptr<int> slot = std::make_shared<int>(0);
};

[[noreturn]] void invalidTarget(int kind) {
  writeErrorChannel(PROCNAME(0) + " (" + std::to_string(PROCLINE(0)) +
                    ")  RunProperty: " + std::to_string(kind));
  setErrorLevel(1);
  QUIT();
}

// The instance-variable cell of a forwarded slot, null when the receiver has no such slot.
Value* slotOf(const Forward& f, const Value& self) {
  ArrayData* a = self.deref().arr();
  if (!a) return nullptr;
  if (*f.slot == 0) {
    const MessageEntry* e = findMessage(classOf(self), f.target);
    if (e) *f.slot = e->slot;
  }
  if (*f.slot <= 0 || static_cast<std::size_t>(*f.slot) > a->items.size()) return nullptr;
  return &a->items[static_cast<std::size_t>(*f.slot) - 1];
}

Forward forwardOf(const PropertyTarget& t) {
  Forward f;
  f.kind = t.kind;
  if (!t.target.empty()) f.target = getSymbol(t.target);
  return f;
}

}  // namespace

void addProperty(ClassDef* cls, std::string_view name, const PropertyTarget& read,
                 const PropertyTarget& write, int scope) {
  const std::string getter = upperName(name);
  const std::string setter = "_" + getter;
  Forward r = forwardOf(read);
  Forward w = forwardOf(write);
  addMethod(
      cls, getter,
      [r, getter](const Value& self, Args args) -> Value {
        switch (r.kind) {
          case kPropertyMethod:
            return send(self, r.target, args);
          case kPropertySlot:
            if (Value* v = slotOf(r, self)) return *v;
            break;
          case 3:
          case 4:
            invalidTarget(r.kind);
          default:
            break;
        }
        return noMethodError(self, getter, args);
      },
      scope);
  addMethod(
      cls, setter,
      [w, setter](const Value& self, Args args) -> Value {
        Value v = arg(args, 0);
        switch (w.kind) {
          case kPropertyMethod:
            return send(self, w.target, args);
          case kPropertySlot:
            if (Value* cell = slotOf(w, self)) {
              *cell = v;
              return v;
            }
            return noMethodError(self, setter, args);
          case 3:
          case 4:
            invalidTarget(w.kind);
          default:
            return readOnlyPropertyError(self, setter, v);
        }
      },
      scope);
}

}  // namespace kv::ui
