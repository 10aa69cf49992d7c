#pragma once
// The expression compiler's window on table fields. Names in an expression are looked up
// first as a field of the current work area, then as a memory variable; "alias->field" and
// "alias->(expression)" select another work area for a moment. The runtime knows nothing of
// work areas: the table engine installs its implementation of FieldResolver at start-up, and
// until it does, no name is a field and no alias exists.
#include "runtime/lang/symbols.h"
#include "runtime/value/value.h"

namespace kv {

class FieldResolver {
 public:
  virtual ~FieldResolver() = default;
  // The value of the field named by `sym` in the current work area: true and `out` set when
  // that area has such a field, false otherwise (no error).
  virtual bool getField(const Symbol& sym, Value& out) = 0;
  // Assigns the field named by `sym` in the current work area: false when there is no such
  // field (no error); failures of the write itself are raised by the engine.
  virtual bool putField(const Symbol& sym, const Value& v) = 0;
  // Selects the work area whose alias is `alias` and answers the number of the area that was
  // selected before; answers -1 (selection unchanged) when no work area has that alias.
  virtual int selectAlias(const Symbol& alias) = 0;
  // Selects work area `area` again (the answer of an earlier selectAlias).
  virtual void restoreArea(int area) = 0;
};

// Installs the resolver (null removes it). The caller keeps ownership.
void setFieldResolver(FieldResolver* resolver);
// The installed resolver, or null.
FieldResolver* fieldResolver();

// Reads the field of the current work area: false when there is none (or no resolver).
bool fieldGet(const Symbol& sym, Value& out);
// Assigns the field of the current work area: false when there is none (or no resolver).
bool fieldPut(const Symbol& sym, const Value& v);

// Selects the work area of an alias for the guard's lifetime and restores the previous
// selection when it ends, also when an error unwinds. An unknown alias raises "No existe el
// alias" (gen 15, subcode 1002); a retry answer looks the alias up again.
class AliasGuard {
 public:
  explicit AliasGuard(const Symbol& alias);
  ~AliasGuard();
  AliasGuard(const AliasGuard&) = delete;
  AliasGuard& operator=(const AliasGuard&) = delete;

 private:
  int previous_;
};

}  // namespace kv
