#include "runtime/lang/symbols.h"

#include <memory>
#include <unordered_map>

namespace kv {

namespace {
struct Table {
  std::unordered_map<std::string, std::unique_ptr<Symbol>> byName;
};
Table& table() {
  static Table t;
  return t;
}
}  // namespace

std::string upperName(std::string_view name) {
  std::string s(name);
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

Symbol* findSymbol(std::string_view name) {
  auto& t = table();
  auto it = t.byName.find(upperName(name));
  return it == t.byName.end() ? nullptr : it->second.get();
}

Symbol* getSymbol(std::string_view name) {
  auto& t = table();
  std::string key = upperName(name);
  auto it = t.byName.find(key);
  if (it != t.byName.end()) return it->second.get();
  auto sym = std::make_unique<Symbol>();
  sym->name = key;
  Symbol* p = sym.get();
  t.byName.emplace(std::move(key), std::move(sym));
  return p;
}

void registerFunction(std::string_view name, NativeFn fn) {
  getSymbol(name)->fn = fn;
}

const Value& arg(Args args, std::size_t i) {
  static const Value nil;
  return i < args.size() ? args[i].deref() : nil;
}

}  // namespace kv
