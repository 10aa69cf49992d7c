// Database functions: copying records between work areas and appending from a table file.
#include "engine/area/dbfunc.h"

#include <algorithm>

#include "engine/area/areas.h"
#include "engine/area/dberror.h"
#include "engine/area/dbfunc_args.h"
#include "engine/area/drivers.h"
#include "runtime/error/error.h"

namespace kv::engine {

namespace {

// Pairs of source and target field numbers for the names present in both areas.
std::vector<std::pair<int, int>> fieldMap(WorkArea& src, WorkArea& dst, const Value& fields) {
  std::vector<std::pair<int, int>> map;
  const Value& names = fields.deref();
  if (!names.isArray()) return map;
  for (const Value& n : names.arr()->items) {
    if (!n.deref().isString()) continue;
    int a = src.fieldPos(n.deref().str()), b = dst.fieldPos(n.deref().str());
    if (a && b) map.emplace_back(a, b);
  }
  return map;
}

WorkArea* targetArea(const Value& target) {
  const Value& t = target.deref();
  return t.isNumber() ? areaAt(static_cast<int>(t.asDouble())) : nullptr;
}

}  // namespace

Value __DBTRANS(const Value& target, const Value& fields, const Value& forBlock,
                const Value& whileBlock, const Value& next, const Value& record,
                const Value& rest) {
  WorkArea* src = needTable("__DBTRANS");
  WorkArea* dst = targetArea(target);
  if (!src || !dst || dst == src) return Value();
  src->trans(*dst, fieldMap(*src, *dst, fields),
             makeScope(forBlock, whileBlock, next, record, rest));
  return Value();
}

Value __DBTRANSREC(const Value& target, const Value& fields) {
  WorkArea* src = needTable("__DBTRANSREC");
  WorkArea* dst = targetArea(target);
  if (!src || !dst || dst == src) return Value();
  src->transRec(*dst, fieldMap(*src, *dst, fields));
  return Value();
}

Value __DBAPP(const Value& file, const Value& fields, const Value& forBlock,
              const Value& whileBlock, const Value& next, const Value& record, const Value& rest,
              const Value& driver) {
  int into = currentAreaNumber();
  WorkArea* dst = currentArea();
  if (!dst) {
    engineRaise(ErrorRecord(EG_NOTABLE, 0).in("DBCMD").op("APPEND FROM"));
    return Value(false);
  }
  // The source is opened under a temporary alias: its base name may be the alias of the
  // current table (appending from a backup such as "Customers.K01").
  std::string tempAlias;
  for (int i = 1; tempAlias.empty() || aliasArea(tempAlias) != 0; ++i)
    tempAlias = "__DBAPP" + std::to_string(i);
  DBUSEAREA(Value(true), driver, file, Value(tempAlias), Value(true), Value(true));
  int from = currentAreaNumber();
  WorkArea* src = currentArea();
  bool ran = false;
  if (src) {
    Value names = Value::newArray();
    const Value& wanted = fields.deref();
    for (int i = 1; i <= src->fieldCount(); ++i) {
      const std::string& n = src->field(i).name;
      if (!dst->fieldPos(n)) continue;
      if (wanted.isArray() && wanted.arrayLen() > 0) {
        bool listed = std::any_of(wanted.arr()->items.begin(), wanted.arr()->items.end(),
                                  [&](const Value& w) {
                                    return w.deref().isString() && upperName(w.deref().str()) == n;
                                  });
        if (!listed) continue;
      }
      names.arr()->items.push_back(Value(n));
    }
    if (names.arrayLen() > 0) {
      __DBTRANS(Value::integer(into), names, forBlock, whileBlock, next, record, rest);
      ran = true;
    }
    closeArea(from);
  }
  selectArea(into);
  return Value(ran);
}

}  // namespace kv::engine
