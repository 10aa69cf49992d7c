#include "runtime/functions.h"

#include "runtime/arrays.h"

namespace kv {

void registerRuntimeFunctions() {
  registerArrayFunctions();
}

}  // namespace kv
