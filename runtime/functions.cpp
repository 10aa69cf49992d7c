#include "runtime/functions.h"

#include "runtime/arrays.h"
#include "runtime/error.h"

namespace kv {

void registerRuntimeFunctions() {
  registerArrayFunctions();
  registerErrorFunctions();
}

}  // namespace kv
