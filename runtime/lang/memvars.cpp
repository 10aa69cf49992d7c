#include "runtime/lang/memvars.h"

#include <vector>

namespace kv {

namespace {
PrivateScope* g_scope = nullptr;
std::vector<Symbol*>& declared() {
  static std::vector<Symbol*> v;
  return v;
}
}  // namespace

void PUBLIC(std::string_view name, const Value& init) {
  Symbol* s = getSymbol(name);
  if (s->memvar) return;
  s->memvar = newCell(init.deref());
  declared().push_back(s);
}

bool memvarExists(std::string_view name) {
  Symbol* s = findSymbol(name);
  return s && s->memvar;
}

Value memvarGet(std::string_view name) {
  Symbol* s = findSymbol(name);
  return s && s->memvar ? *s->memvar : Value();
}

void memvarPut(std::string_view name, const Value& v) {
  Symbol* s = getSymbol(name);
  if (s->memvar) {
    *s->memvar = v.deref();
    return;
  }
  if (g_scope) {
    g_scope->declare(name, v);
  } else {
    PUBLIC(name, v);
  }
}

Cell memvarCell(std::string_view name) {
  Symbol* s = findSymbol(name);
  return s ? s->memvar : nullptr;
}

PrivateScope::PrivateScope() : outer_(g_scope) {
  g_scope = this;
}

PrivateScope::~PrivateScope() {
  for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) it->sym->memvar = it->previous;
  g_scope = outer_;
}

void PrivateScope::declare(std::string_view name, const Value& init) {
  Symbol* s = getSymbol(name);
  saved_.push_back({s, s->memvar});
  s->memvar = newCell(init.deref());
  declared().push_back(s);
}

bool PrivateScope::declaresVisible(const Symbol* sym) {
  for (const PrivateScope* scope = g_scope; scope; scope = scope->outer_)
    for (const Saved& saved : scope->saved_)
      if (saved.sym == sym) return true;
  return false;
}

void RELEASE(std::string_view name) {
  Symbol* s = findSymbol(name);
  if (!s || !s->memvar) return;
  if (PrivateScope::declaresVisible(s)) {
    *s->memvar = Value();
  } else {
    s->memvar.reset();
  }
}

void releaseAllMemvars() {
  for (Symbol* s : declared()) s->memvar.reset();
  declared().clear();
}

}  // namespace kv
