#include "engine/area/dbfunc_args.h"

#include "engine/area/areas.h"
#include "engine/area/dberror.h"

namespace kv::engine {

WorkArea* needTable(const char* operation) {
  WorkArea* wa = currentArea();
  if (!wa) noTableError(operation);
  return wa;
}

Scope makeScope(const Value& forBlock, const Value& whileBlock, const Value& next,
                const Value& record, const Value& rest) {
  Scope s;
  s.forBlock = forBlock.deref();
  s.whileBlock = whileBlock.deref();
  s.next = next.deref();
  s.record = record.deref();
  s.rest = rest.deref().isLogical() && rest.deref().asBool();
  return s;
}

}  // namespace kv::engine
