// Database functions: the orders of the current area (served by index drivers) and the
// names of its driver.
#include "engine/area/dbfunc.h"

#include "engine/area/areas.h"
#include "engine/area/dberror.h"
#include "engine/area/dbfunc_args.h"
#include "engine/area/drivers.h"
#include "runtime/error/error.h"
#include "runtime/lang/settings.h"

namespace kv::engine {

namespace {

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

}  // namespace kv::engine
