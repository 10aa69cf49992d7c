#include "ui/core/libclass.h"

#include <unordered_map>
#include <utility>

namespace kv::ui {

namespace {

struct ClassState {
  ClassDef* record = nullptr;
  LibObject* single = nullptr;  // the singleton's object
  Alive singleAlive;
};

std::unordered_map<const LibClass*, ClassState>& states() {
  static std::unordered_map<const LibClass*, ClassState> s;
  return s;
}

struct Pending {
  LibObject* lib;
  Alive alive;
};

std::unordered_map<const ClassDef*, Pending>& pending() {
  static std::unordered_map<const ClassDef*, Pending> p;
  return p;
}

// The library object the post-create hook pairs with the instance being made.
LibObject* g_beingMade = nullptr;

void pairingHook(const Value& obj) {
  LibObject* lib = std::exchange(g_beingMade, nullptr);
  if (!lib) {
    const LibClass* lc = libraryClassOf(classOf(obj));
    if (lc && lc->construct) lib = lc->construct();
  }
  if (lib) lib->pair(obj);
}

bool hasPairingHook(const ClassDef* cls) {
  auto* hook = cls->postCreate.target<void (*)(const Value&)>();
  return hook && *hook == &pairingHook;
}

void enterMessages(const LibClass& lc, ClassDef* cls) {
  if (lc.base) enterMessages(*lc.base, cls);
  if (lc.registerMessages) lc.registerMessages(cls);
}

LibObject* takePending(const ClassDef* cls) {
  auto it = pending().find(cls);
  if (it == pending().end()) return nullptr;
  Pending p = it->second;
  pending().erase(it);
  return p.alive ? p.lib : nullptr;
}

}  // namespace

ClassDef* libraryClassDef(const LibClass& lc) {
  ClassState& st = states()[&lc];
  if (!st.record) {
    st.record = defineClass(lc.name);
    st.record->postCreate = &pairingHook;
    st.record->userData = const_cast<LibClass*>(&lc);
    enterMessages(lc, st.record);
  }
  return st.record;
}

Value classFunction(const LibClass& lc) {
  ClassDef* cls = libraryClassDef(lc);
  ClassState& st = states()[&lc];
  if (lc.singleton && st.singleAlive && st.single->hasLanguage()) return st.single->language();
  Value obj = instantiate(cls);
  if (lc.singleton) {
    st.single = libraryOf(obj);
    st.singleAlive = st.single ? st.single->alive() : Alive();
  }
  return obj;
}

Value instantiate(const ClassDef* cls) {
  if (!cls) return Value();
  LibObject* lib = nullptr;
  if (const LibClass* lc = libraryClassOf(cls)) {
    lib = takePending(cls);
    if (!lib && lc->construct) lib = lc->construct();
  }
  g_beingMade = lib;
  Value obj = newObject(cls);
  g_beingMade = nullptr;
  return obj;
}

const LibClass* libraryClassOf(const ClassDef* cls) {
  return cls && hasPairingHook(cls) ? static_cast<const LibClass*>(cls->userData) : nullptr;
}

bool isLibraryClassRecord(const ClassDef* cls) {
  const LibClass* lc = libraryClassOf(cls);
  if (!lc) return false;
  auto it = states().find(lc);
  return it != states().end() && it->second.record == cls;
}

void setPendingObject(const ClassDef* cls, LibObject* lib) {
  if (!cls || !lib) return;
  pending()[cls] = Pending{lib, lib->alive()};
}

void releasePendingObjects() {
  auto p = std::move(pending());
  pending().clear();
  for (auto& [cls, entry] : p) {
    if (entry.alive) entry.lib->destroyImpl();
  }
}

}  // namespace kv::ui
