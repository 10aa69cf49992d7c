// The error system's functions as the expression compiler and the application call them by
// name.
#include "runtime/error/callstack.h"
#include "runtime/error/error.h"
#include "runtime/lang/symbols.h"

namespace kv {

namespace {

Value fnErrorBlock(Args args) {
  return ERRORBLOCK(arg(args, 0));
}
Value fnErrorNew(Args) {
  return ERRORNEW();
}
Value fnProcName(Args args) {
  return Value(PROCNAME(arg(args, 0).asInt()));
}
Value fnProcLine(Args args) {
  return Value(PROCLINE(arg(args, 0).asInt()));
}
Value fnNetErr(Args args) {
  return Value(NETERR(arg(args, 0)));
}
Value fnDosError(Args) {
  return Value(DOSERROR());
}
Value fnBreak(Args args) {
  BREAK(arg(args, 0));
}

}  // namespace

void registerErrorFunctions() {
  registerFunction("ERRORBLOCK", fnErrorBlock);
  registerFunction("ERRORNEW", fnErrorNew);
  registerFunction("PROCNAME", fnProcName);
  registerFunction("PROCLINE", fnProcLine);
  registerFunction("NETERR", fnNetErr);
  registerFunction("DOSERROR", fnDosError);
  registerFunction("BREAK", fnBreak);
}

}  // namespace kv
