#include "runtime/lang/functions.h"

#include <vector>

#include "runtime/error/error.h"
#include "runtime/format/dates.h"
#include "runtime/format/numfmt.h"
#include "runtime/format/transform.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/settings.h"
#include "runtime/lang/symbols.h"
#include "runtime/lib/arrays.h"
#include "runtime/lib/console.h"
#include "runtime/lib/filefuncs.h"
#include "runtime/lib/mathfn.h"
#include "runtime/lib/strings.h"
#include "runtime/macro/macro.h"

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
