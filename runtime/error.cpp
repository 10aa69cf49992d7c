// Provisional raise path: the full error object, handler protocol and internal-error table
// arrive with the error system; this keeps the contract of error.h meanwhile.
#include "runtime/error.h"

#include <string>

#include "runtime/callstack.h"
#include "runtime/errorchannel.h"
#include "runtime/lifecycle.h"

namespace kv {

namespace {
Value g_handler;
int g_dosError = 0;
bool g_netErr = false;
}  // namespace

std::string genCodeDescription(int) { return std::string(); }

ErrorResult raiseError(const ErrorSpec& spec) {
  (void)spec;
  writeErrorChannel("\r\nNo ERRORBLOCK() for error at: " + PROCNAME(0) + " (" +
                    std::to_string(PROCLINE(0)) + ")");
  setErrorLevel(1);
  QUIT();
}

Value argumentError(std::string_view operation, int subCode, Args args) {
  ErrorSpec e;
  e.genCode = EG_ARG;
  e.subCode = subCode;
  e.subsystem = "BASE";
  e.flags = kCanSubstitute;
  e.operation = std::string(operation);
  e.args.assign(args.begin(), args.end());
  return raiseError(e).value;
}

void internalError(int n) {
  writeErrorChannel(PROCNAME(0) + " (" + std::to_string(PROCLINE(0)) + ")  Error interno " +
                    std::to_string(n));
  setErrorLevel(1);
  QUIT();
}

Value ERRORBLOCK(const Value& block) {
  Value old = g_handler;
  if (block.deref().isBlock()) g_handler = block.deref();
  return old;
}

Value ERRORNEW() { return Value(); }

int DOSERROR() { return g_dosError; }
void setDosError(int code) { g_dosError = code; }
bool NETERR(const Value& flag) {
  if (flag.deref().isLogical()) g_netErr = flag.deref().asBool();
  return g_netErr;
}

}  // namespace kv
