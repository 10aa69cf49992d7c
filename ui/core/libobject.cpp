#include "ui/core/libobject.h"

#include <unordered_map>
#include <vector>

#include "runtime/lang/classes.h"

namespace kv::ui {

namespace {

std::unordered_map<const ArrayData*, LibObject*>& pairs() {
  static std::unordered_map<const ArrayData*, LibObject*> p;
  return p;
}

LibObject* g_first = nullptr;
LibObject* g_last = nullptr;
std::size_t g_live = 0;

}  // namespace

LibObject::LibObject() : life_(std::make_shared<char>(0)) {
  prev_ = g_last;
  if (g_last) g_last->next_ = this;
  g_last = this;
  if (!g_first) g_first = this;
  ++g_live;
}

LibObject::~LibObject() {
  if (prev_) prev_->next_ = next_;
  if (next_) next_->prev_ = prev_;
  if (g_first == this) g_first = next_;
  if (g_last == this) g_last = prev_;
  --g_live;
  if (const ArrayData* a = language_.arr()) {
    auto it = pairs().find(a);
    if (it != pairs().end() && it->second == this) pairs().erase(it);
  }
}

void LibObject::pair(const Value& obj) {
  ArrayData* a = obj.deref().arr();
  if (!a) return;
  if (const ArrayData* old = language_.arr()) pairs().erase(old);
  auto it = pairs().find(a);
  if (it != pairs().end() && it->second != this) it->second->language_ = Value();
  language_ = obj.deref();
  pairs()[a] = this;
}

Value LibObject::fire(int id, std::initializer_list<Value> args) {
  if (!events_.has(id)) return Value();
  Value sender = language_;
  return events_.fire(id, sender, args);
}

bool LibObject::sendThroughLanguage(std::string_view message, std::initializer_list<Value> args,
                                    Value* result) {
  if (language_.isNil()) return false;
  Value self = language_;  // the object may be freed while the message runs
  Value r = send(self, message, args);
  if (result) *result = r;
  return true;
}

void LibObject::createImpl(Args) {}

void LibObject::destroy() {
  if (destroying_) return;
  if (!sendThroughLanguage("Destroy", {})) destroyImpl();
}

void LibObject::destroyImpl() {
  if (destroying_) return;
  destroying_ = true;
  struct FreeOnExit {
    LibObject* self;
    ~FreeOnExit() { self->free(); }
  } freeOnExit{this};
  release();
}

void LibObject::free() {
  events_.clear();
  if (const ArrayData* a = language_.arr()) pairs().erase(a);
  Value language = std::move(language_);
  language_ = Value();
  delete this;
}

LibObject* libraryOf(const Value& obj) {
  const ArrayData* a = obj.deref().arr();
  if (!a) return nullptr;
  auto it = pairs().find(a);
  return it == pairs().end() ? nullptr : it->second;
}

void destroyAllLibraryObjects() {
  for (;;) {
    LibObject* root = g_first;
    while (root && (root->destroying_ || root->ownerObject())) root = root->next_;
    if (!root) break;
    root->destroyImpl();
  }
  // Objects whose own destruction was interrupted: freed without running anything more.
  while (g_first) g_first->free();
}

std::size_t liveLibraryObjects() {
  return g_live;
}

}  // namespace kv::ui
