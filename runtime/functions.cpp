#include "runtime/functions.h"

#include "runtime/arrays.h"
#include "runtime/error.h"
#include "runtime/filefuncs.h"

namespace kv {

void registerRuntimeFunctions() {
  registerArrayFunctions();
  registerErrorFunctions();
  registerFileFunctions();
}

}  // namespace kv
