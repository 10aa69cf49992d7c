#pragma once
// The runtime's functions by name. registerRuntimeFunctions() enters every runtime function
// that expressions may call in the symbol table, each module's registration in turn; the
// program start calls it before the modules' start-up procedures run. Safe to repeat.
namespace kv {

void registerRuntimeFunctions();

}  // namespace kv
