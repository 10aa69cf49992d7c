// Database functions: state queries, filter and evaluation, orders, drivers, copying, and
// the registration of every database function by name.
#include <algorithm>

#include "engine/area/areas.h"
#include "engine/area/dberror.h"
#include "engine/area/dbfunc.h"
#include "engine/area/drivers.h"
#include "engine/area/fieldresolver.h"
#include "engine/dbf/dbfarea.h"
#include "engine/ntx/dbfntxarea.h"
#include "runtime/error/error.h"
#include "runtime/lang/lifecycle.h"
#include "runtime/lang/settings.h"

namespace kv::engine {

namespace {

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

// Order argument check of the order-info functions: a number, a text or nothing.
bool orderArgOk(const Value& order, const char* op, int subCode) {
  const Value& o = order.deref();
  if (o.isNil() || o.isNumber() || o.isString()) return true;
  dbcmdError(EG_ARG, subCode, op);
  return false;
}

Value orderInfo(int request, const Value& order, const char* op, int subCode, Value dflt) {
  if (!orderArgOk(order, op, subCode)) return dflt;
  WorkArea* wa = currentArea();
  if (!wa) return dflt;
  Value out;
  if (wa->orderInfo(request, order.deref(), out) != kSuccess || out.isNil()) return dflt;
  return out;
}

}  // namespace

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

Value ORDLISTADD(const Value& bag, const Value& name) {
  NETERR(Value(false));
  WorkArea* wa = needTable("ORDLISTADD");
  if (!wa) return Value();
  const Value& b = bag.deref();
  if (!b.isString()) {
    dbcmdError(EG_ARG, kDbCmdOrderBag, "ORDLISTADD");
    return Value();
  }
  std::string file(b.str());
  if (file.find_first_not_of(' ') == std::string::npos) return Value();
  wa->orderListAdd(file, name.deref().isString() ? std::string(name.deref().str()) : "");
  return Value();
}

Value ORDLISTCLEAR() {
  if (WorkArea* wa = needTable("ORDLISTCLEAR")) wa->orderListClear();
  return Value();
}

Value ORDLISTREBUILD() {
  if (WorkArea* wa = needTable("ORDLISTREBUILD")) wa->orderListRebuild();
  return Value();
}

Value ORDCREATE(const Value& bag, const Value& name, const Value& keyText, const Value& keyBlock,
                const Value& unique) {
  WorkArea* wa = needTable("ORDCREATE");
  if (!wa) return Value();
  if (!keyText.deref().isString()) {
    dbcmdError(EG_ARG, kDbCmdOrderKey, "ORDCREATE");
    return Value();
  }
  OrderCreateInfo info;
  if (bag.deref().isString()) info.bagName = std::string(bag.deref().str());
  if (name.deref().isString()) info.orderName = upperName(name.deref().str());
  info.keyText = std::string(keyText.deref().str());
  info.keyBlock = keyBlock.deref();
  info.unique = unique.deref().isLogical() ? unique.deref().asBool() : setFlag(kSetUnique);
  // ORDCREATE answers nil whatever happened: every failure but a short header was raised, and
  // a short header leaves no index behind, which the next open of the bag reports.
  static_cast<void>(wa->orderCreate(info));
  return Value();
}

Value ORDSETFOCUS(const Value& order) {
  WorkArea* wa = currentArea();
  if (!wa) return Value("");
  std::string previous;
  wa->orderListFocus(order.deref(), previous);
  return Value(previous);
}

Value ORDKEY(const Value& order) {
  return orderInfo(kOrdExpression, order, "ORDKEY", kDbCmdOrdKey, Value(""));
}
Value ORDFOR(const Value& order) {
  return orderInfo(kOrdCondition, order, "ORDFOR", kDbCmdOrdFor, Value(""));
}
Value ORDNAME(const Value& order) {
  return orderInfo(kOrdName, order, "ORDNAME", kDbCmdOrdName, Value(""));
}
Value ORDNUMBER(const Value& order) {
  return orderInfo(kOrdNumber, order, "ORDNUMBER", kDbCmdOrdNumber, Value::integer(0));
}
Value ORDBAGNAME(const Value& order) {
  return orderInfo(kOrdBagName, order, "ORDBAGNAME", kDbCmdOrdBagName, Value(""));
}
Value INDEXORD() {
  return orderInfo(kOrdNumber, Value(), "INDEXORD", 0, Value::integer(0));
}
Value ORDBAGEXT() {
  return Value(".ntx");
}

Value ORDCONDSET(Args a) {
  WorkArea* wa = needTable("ORDCONDSET");
  if (!wa) return Value(false);
  auto number = [&](std::size_t i, std::int64_t none) {
    const Value& v = arg(a, i).deref();
    return v.isNumber() ? static_cast<std::int64_t>(v.asDouble()) : none;
  };
  auto flag = [&](std::size_t i) {
    const Value& v = arg(a, i).deref();
    return v.isLogical() && v.asBool();
  };
  auto block = [&](std::size_t i) {
    const Value& v = arg(a, i).deref();
    return v.isBlock() ? v : Value();
  };
  OrderCondition c;
  if (arg(a, 0).deref().isString()) c.forText = std::string(arg(a, 0).deref().str());
  c.forBlock = block(1);
  c.all = flag(2);
  c.whileBlock = block(3);
  c.evalBlock = block(4);
  c.evalInterval = number(5, 0);
  c.startRecord = number(6, -1);
  c.nextCount = number(7, -1);
  c.recordNumber = number(8, -1);
  c.rest = flag(9);
  c.descending = flag(10);
  return Value(wa->orderCondition(c) == kSuccess);
}

Value RDDNAME() {
  return Value(currentArea() ? currentArea()->sysName() : std::string());
}
Value DBTABLEEXT() {
  return Value(".dbf");
}

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
    engineRaise(ErrorSpec(EG_NOTABLE, 0).in("DBCMD").op("APPEND FROM"));
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

void registerDbFunctions() {
  struct Entry {
    const char* name;
    NativeFn fn;
  };
  static const Entry kTable[] = {
      {"DBUSEAREA",
       [](Args a) {
         return DBUSEAREA(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3), arg(a, 4), arg(a, 5));
       }},
      {"DBCLOSEAREA", [](Args) { return DBCLOSEAREA(); }},
      {"DBCLOSEALL", [](Args) { return DBCLOSEALL(); }},
      {"DBSELECTAREA", [](Args a) { return DBSELECTAREA(arg(a, 0)); }},
      {"DBCREATE",
       [](Args a) {
         std::optional<Value> keep;
         if (a.size() > 3) keep = arg(a, 3);
         return DBCREATE(arg(a, 0), arg(a, 1), arg(a, 2), keep, arg(a, 4));
       }},
      {"DBSTRUCT", [](Args) { return DBSTRUCT(); }},
      {"AFIELDS", [](Args a) { return AFIELDS(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3)); }},
      {"DBGOTOP", [](Args) { return DBGOTOP(); }},
      {"DBGOBOTTOM", [](Args) { return DBGOBOTTOM(); }},
      {"DBGOTO",
       [](Args a) {
         if (a.size() != 1) {
           dbcmdError(EG_ARG, kDbCmdGotoRecord, "DBGOTO");
           return Value();
         }
         return DBGOTO(arg(a, 0));
       }},
      {"DBSKIP", [](Args a) { return DBSKIP(arg(a, 0)); }},
      {"DBSEEK", [](Args a) { return DBSEEK(arg(a, 0), arg(a, 1), arg(a, 2)); }},
      {"DBAPPEND", [](Args a) { return DBAPPEND(arg(a, 0)); }},
      {"DBDELETE", [](Args) { return DBDELETE(); }},
      {"DBRECALL", [](Args) { return DBRECALL(); }},
      {"__DBPACK", [](Args) { return __DBPACK(); }},
      {"__DBZAP", [](Args) { return __DBZAP(); }},
      {"DBCOMMIT", [](Args) { return DBCOMMIT(); }},
      {"DBCOMMITALL", [](Args) { return DBCOMMITALL(); }},
      {"FIELDGET", [](Args a) { return FIELDGET(arg(a, 0)); }},
      {"FIELDPUT", [](Args a) { return FIELDPUT(arg(a, 0), arg(a, 1)); }},
      {"FIELDPOS", [](Args a) { return FIELDPOS(arg(a, 0)); }},
      {"DBRLOCK", [](Args a) { return DBRLOCK(arg(a, 0)); }},
      {"DBRLOCKLIST", [](Args) { return DBRLOCKLIST(); }},
      {"DBUNLOCK", [](Args) { return DBUNLOCK(); }},
      {"DBUNLOCKALL", [](Args) { return DBUNLOCKALL(); }},
      {"DBRUNLOCK", [](Args a) { return DBRUNLOCK(arg(a, 0)); }},
      {"__LOCK", [](Args) { return __LOCK(); }},
      {"RLOCK", [](Args) { return __LOCK(); }},
      {"__FLOCK", [](Args) { return __FLOCK(); }},
      {"FLOCK", [](Args) { return __FLOCK(); }},
      {"__EOF", [](Args) { return __EOF(); }},
      {"EOF", [](Args) { return __EOF(); }},
      {"__BOF", [](Args) { return __BOF(); }},
      {"BOF", [](Args) { return __BOF(); }},
      {"__FOUND", [](Args) { return __FOUND(); }},
      {"FOUND", [](Args) { return __FOUND(); }},
      {"__DELETED", [](Args) { return __DELETED(); }},
      {"DELETED", [](Args) { return __DELETED(); }},
      {"__RECNO", [](Args) { return __RECNO(); }},
      {"RECNO", [](Args) { return __RECNO(); }},
      {"__LASTREC", [](Args) { return __LASTREC(); }},
      {"LASTREC", [](Args) { return __LASTREC(); }},
      {"RECCOUNT", [](Args) { return __LASTREC(); }},
      {"__FCOUNT", [](Args) { return __FCOUNT(); }},
      {"FCOUNT", [](Args) { return __FCOUNT(); }},
      {"__FIELDNAME", [](Args a) { return __FIELDNAME(arg(a, 0)); }},
      {"FIELDNAME", [](Args a) { return __FIELDNAME(arg(a, 0)); }},
      {"USED", [](Args) { return USED(); }},
      {"ALIAS", [](Args a) { return ALIAS(arg(a, 0)); }},
      {"__FSELECT0", [](Args) { return __FSELECT0(); }},
      {"__FSELECT1", [](Args a) { return __FSELECT1(arg(a, 0)); }},
      {"SELECT", [](Args a) { return a.empty() ? __FSELECT0() : __FSELECT1(arg(a, 0)); }},
      {"__AXPRIN", [](Args a) { return __AXPRIN(arg(a, 0)); }},
      {"__AXPROUT", [](Args a) { return __AXPROUT(arg(a, 0)); }},
      {"DBSETFILTER", [](Args a) { return DBSETFILTER(arg(a, 0), arg(a, 1)); }},
      {"DBCLEARFILTER", [](Args) { return DBCLEARFILTER(); }},
      {"DBFILTER", [](Args) { return DBFILTER(); }},
      {"DBEVAL",
       [](Args a) {
         return DBEVAL(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3), arg(a, 4), arg(a, 5));
       }},
      {"DBSETEVENTS", [](Args a) { return DBSETEVENTS(a); }},
      {"ORDLISTADD", [](Args a) { return ORDLISTADD(arg(a, 0), arg(a, 1)); }},
      {"ORDLISTCLEAR", [](Args) { return ORDLISTCLEAR(); }},
      {"ORDLISTREBUILD", [](Args) { return ORDLISTREBUILD(); }},
      {"ORDCREATE",
       [](Args a) { return ORDCREATE(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3), arg(a, 4)); }},
      {"ORDSETFOCUS", [](Args a) { return ORDSETFOCUS(arg(a, 0)); }},
      {"ORDKEY", [](Args a) { return ORDKEY(arg(a, 0)); }},
      {"ORDFOR", [](Args a) { return ORDFOR(arg(a, 0)); }},
      {"ORDNAME", [](Args a) { return ORDNAME(arg(a, 0)); }},
      {"ORDNUMBER", [](Args a) { return ORDNUMBER(arg(a, 0)); }},
      {"ORDBAGNAME", [](Args a) { return ORDBAGNAME(arg(a, 0)); }},
      {"INDEXORD", [](Args) { return INDEXORD(); }},
      {"ORDBAGEXT", [](Args) { return ORDBAGEXT(); }},
      {"ORDCONDSET", [](Args a) { return ORDCONDSET(a); }},
      {"RDDREGISTER",
       [](Args a) {
         const Value& n = arg(a, 0);
         RDDREGISTER(n.isString() ? n.str() : std::string_view(),
                     arg(a, 1).isNumber() ? arg(a, 1).asInt() : 1);
         return Value();
       }},
      {"RDDSETDEFAULT", [](Args a) { return RDDSETDEFAULT(arg(a, 0)); }},
      {"DBSETDRIVER", [](Args a) { return RDDSETDEFAULT(arg(a, 0)); }},
      {"RDDNAME", [](Args) { return RDDNAME(); }},
      {"RDDLIST", [](Args a) { return RDDLIST(arg(a, 0)); }},
      {"DBTABLEEXT", [](Args) { return DBTABLEEXT(); }},
      {"__DBTRANS",
       [](Args a) {
         return __DBTRANS(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3), arg(a, 4), arg(a, 5),
                          arg(a, 6));
       }},
      {"__DBTRANSREC", [](Args a) { return __DBTRANSREC(arg(a, 0), arg(a, 1)); }},
      {"__DBAPP",
       [](Args a) {
         return __DBAPP(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3), arg(a, 4), arg(a, 5), arg(a, 6),
                        arg(a, 7));
       }},
  };
  for (const auto& e : kTable) registerFunction(e.name, e.fn);
}

namespace {

void engineStart() {
  registerDbfDriver();
  registerDbfNtxDriver();
  setSetting(kSetExclusive, Value(true));
  registerDbFunctions();
  installFieldResolver();
}

void engineStop() {
  closeAllAreas();
}

}  // namespace

void installEngine() {
  registerInitProcedure("DBF", engineStart);
  registerShutdownHandler("DBF", engineStop);
}

}  // namespace kv::engine
