// Database functions: state queries of the current area, the filter, evaluation over a
// scope and the event blocks.
#include "engine/area/dbfunc.h"

#include "engine/area/areas.h"
#include "engine/area/dberror.h"
#include "engine/area/dbfunc_args.h"
#include "runtime/error/error.h"
#include "runtime/lang/settings.h"

namespace kv::engine {

Value __EOF() {
  return Value(currentArea() ? currentArea()->eof() : true);
}
Value __BOF() {
  return Value(currentArea() ? currentArea()->bof() : true);
}
Value __FOUND() {
  return Value(currentArea() ? currentArea()->found() : false);
}

Value __DELETED() {
  bool d = false;
  if (WorkArea* wa = currentArea()) wa->deleted(d);
  return Value(d);
}

Value __RECNO() {
  std::uint32_t n = 0;
  if (WorkArea* wa = currentArea()) wa->recNo(n);
  return Value::number(static_cast<double>(n), n < 10000000 ? 7 : 10, 0);
}

Value __LASTREC() {
  std::uint32_t n = 0;
  if (WorkArea* wa = currentArea()) wa->recCount(n);
  return Value::number(static_cast<double>(n));
}

Value __FCOUNT() {
  return Value::integer(currentArea() ? currentArea()->fieldCount() : 0);
}

Value __FIELDNAME(const Value& n) {
  const Value& v = n.deref();
  if (!v.isNumber()) {
    dbcmdError(EG_ARG, kDbCmdFieldName, "FIELDNAME");
    return Value("");
  }
  WorkArea* wa = currentArea();
  int i = static_cast<int>(v.asDouble());
  if (!wa || i < 1 || i > wa->fieldCount()) return Value("");
  return Value(wa->field(i).name);
}

Value USED() {
  return Value(currentArea() != nullptr);
}

Value ALIAS(const Value& area) {
  const Value& a = area.deref();
  WorkArea* wa = a.isNumber() ? areaAt(static_cast<int>(a.asDouble())) : currentArea();
  return Value(wa ? wa->alias() : std::string());
}

Value __FSELECT0() {
  return Value::integer(currentAreaNumber());
}

Value __FSELECT1(const Value& alias) {
  const Value& a = alias.deref();
  if (!a.isString()) return Value::integer(0);
  int n = aliasArea(a.str());
  return Value::integer(n != 0 && areaAt(n) ? n : 0);
}

Value __AXPRIN(const Value& alias) {
  const Value& a = alias.deref();
  int n = 0;
  if (a.isNumber())
    n = static_cast<int>(a.asDouble());
  else if (a.isString())
    n = aliasArea(a.str());
  if (n != 0 && !areaAt(n) && a.isString()) n = 0;
  return Value::integer(selectArea(n));
}

Value __AXPROUT(const Value& previous) {
  const Value& p = previous.deref();
  if (p.isNumber()) selectArea(static_cast<int>(p.asDouble()));
  return Value();
}

Value DBSETFILTER(const Value& block, const Value& text) {
  if (WorkArea* wa = needTable("DBSETFILTER"))
    wa->setFilter(block.deref(), text.deref().isString() ? std::string(text.deref().str()) : "");
  return Value();
}

Value DBCLEARFILTER() {
  if (WorkArea* wa = needTable("DBCLEARFILTER")) wa->setFilter(Value(), "");
  return Value();
}

Value DBFILTER() {
  return Value(currentArea() ? currentArea()->filterText() : std::string());
}

Value DBEVAL(const Value& block, const Value& forBlock, const Value& whileBlock, const Value& next,
             const Value& record, const Value& rest) {
  WorkArea* wa = needTable("DBEVAL");
  if (!wa) return Value();
  if (!block.deref().isBlock()) {
    dbcmdError(EG_ARG, kDbCmdEvalBlock, "DBEVAL");
    return Value();
  }
  wa->dbEval(block.deref(), makeScope(forBlock, whileBlock, next, record, rest));
  return Value();
}

Value DBSETEVENTS(Args blocks) {
  std::vector<Value> v;
  for (std::size_t i = 0; i < blocks.size() && i < kEventCount; ++i) v.push_back(arg(blocks, i));
  setPendingEvents(std::move(v));
  return Value();
}

}  // namespace kv::engine
