#include "runtime/functions.h"

#include <vector>

#include "runtime/arrays.h"
#include "runtime/classes.h"
#include "runtime/codeblock.h"
#include "runtime/console.h"
#include "runtime/dates.h"
#include "runtime/error.h"
#include "runtime/filefuncs.h"
#include "runtime/macro.h"
#include "runtime/mathfn.h"
#include "runtime/numfmt.h"
#include "runtime/settings.h"
#include "runtime/strings.h"
#include "runtime/symbols.h"
#include "runtime/transform.h"

namespace kv {

namespace {

// The type and settings queries, and WORD, which answers its argument unchanged.
void registerCoreFunctions() {
  registerFunction("VALTYPE", [](Args a) { return Value(VALTYPE(arg(a, 0))); });
  registerFunction("EMPTY", [](Args a) { return Value(EMPTY(arg(a, 0))); });
  registerFunction("WORD", [](Args a) { return arg(a, 0); });
  registerFunction("SET", [](Args a) {
    if (!arg(a, 0).isNumber()) return raiseArgError("SET", 2020, {arg(a, 0), arg(a, 1)});
    return SET(arg(a, 0).asInt(), arg(a, 1));
  });
}

}  // namespace

Value raiseArgError(std::string_view name, int subCode, std::initializer_list<Value> args) {
  std::vector<Value> given(args.begin(), args.end());
  while (!given.empty() && given.back().deref().isNil()) given.pop_back();
  return argumentError(name, subCode, Args(given.data(), given.size()));
}

void registerRuntimeFunctions() {
  registerCoreFunctions();
  registerDateFunctions();
  registerNumberFunctions();
  registerTransformFunctions();
  registerStringFunctions();
  registerMathFunctions();
  registerBlockFunctions();
  registerArrayFunctions();
  registerErrorFunctions();
  registerFileFunctions();
  registerConsoleFunctions();
  registerMacroFunctions();
  registerClassFunctions();
}

}  // namespace kv
