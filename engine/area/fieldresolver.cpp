#include "engine/area/fieldresolver.h"

#include "engine/area/areas.h"
#include "runtime/lang/fieldaccess.h"

namespace kv::engine {

namespace {

// The field of that name in the current work area, with its area; null when none.
const Field* currentField(const Symbol& sym, WorkArea*& wa) {
  int area = currentAreaNumber();
  wa = currentArea();
  if (!wa) return nullptr;
  for (const FieldLink* l = sym.fieldChain; l; l = l->nextSameName) {
    // Every link of a chain is a Field: only WorkArea::linkFields puts links there.
    const auto* f = static_cast<const Field*>(l);
    if (f->area == area) return f;
  }
  return nullptr;
}

int indexOf(WorkArea* wa, const Field* f) {
  return static_cast<int>(f - &wa->field(1)) + 1;
}

class EngineResolver : public FieldResolver {
 public:
  bool getField(const Symbol& sym, Value& out) override {
    WorkArea* wa;
    const Field* f = currentField(sym, wa);
    if (!f) return false;
    if (wa->getValue(indexOf(wa, f), out) != kSuccess) out = Value();
    return true;
  }
  bool putField(const Symbol& sym, const Value& v) override {
    WorkArea* wa;
    const Field* f = currentField(sym, wa);
    if (!f) return false;
    wa->putValue(indexOf(wa, f), v);
    return true;
  }
  int selectAlias(const Symbol& alias) override {
    int n = aliasArea(alias.name);
    if (n == 0 || !areaAt(n)) return -1;
    return selectArea(n);
  }
  void restoreArea(int area) override { selectArea(area); }
};

}  // namespace

void installFieldResolver() {
  static EngineResolver resolver;
  setFieldResolver(&resolver);
}

}  // namespace kv::engine
