#pragma once
// The runtime's functions by name. registerRuntimeFunctions() enters every runtime function
// that expressions may call in the symbol table, each module's registration in turn; the
// program start calls it before the modules' start-up procedures run. Safe to repeat.
#include <initializer_list>
#include <string_view>

#include "runtime/value/value.h"

namespace kv {

void registerRuntimeFunctions();

// Raises the argument error (general code 1, subsystem "BASE") of runtime function `name`
// with subcode `subCode`, passing the call's arguments (trailing nils dropped). Answers the
// substitute value of the error handler, which becomes the function's result.
Value raiseArgError(std::string_view name, int subCode, std::initializer_list<Value> args);

}  // namespace kv
