#include "runtime/lib/console.h"

#include "runtime/lang/functions.h"
#include "runtime/lang/symbols.h"

namespace kv {

namespace {

bool positionArgsOk(const Value& row, const Value& col) {
  return row.deref().isNumber() && col.deref().isNumber();
}

}  // namespace

Value ROW() {
  return Value(0);
}

Value COL() {
  return Value(0);
}

Value PROW() {
  return Value(0);
}

Value PCOL() {
  return Value(0);
}

Value SETPOS(const Value& row, const Value& col) {
  if (!positionArgsOk(row, col)) return raiseArgError("SETPOS", 2031, {row, col});
  return Value();
}

Value DEVPOS(const Value& row, const Value& col) {
  if (!positionArgsOk(row, col)) return raiseArgError("DEVPOS", 2032, {row, col});
  return Value();
}

Value INKEY(const Value& seconds) {
  const Value& s = seconds.deref();
  if (!s.isNil() && !s.isNumber()) return raiseArgError("INKEY", 2030, {seconds});
  return Value(0);
}

void registerConsoleFunctions() {
  registerFunction("ROW", [](Args) { return ROW(); });
  registerFunction("COL", [](Args) { return COL(); });
  registerFunction("PROW", [](Args) { return PROW(); });
  registerFunction("PCOL", [](Args) { return PCOL(); });
  registerFunction("SETPOS", [](Args a) { return SETPOS(arg(a, 0), arg(a, 1)); });
  registerFunction("DEVPOS", [](Args a) { return DEVPOS(arg(a, 0), arg(a, 1)); });
  registerFunction("INKEY", [](Args a) { return INKEY(arg(a, 0)); });
}

}  // namespace kv
