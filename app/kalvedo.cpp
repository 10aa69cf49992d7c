#include "app/kalvedo.h"

#include "runtime/callstack.h"
#include "runtime/lifecycle.h"
#include "runtime/settings.h"

namespace kv::app {

void registerModules() {}

void MAIN() {
  KV_PROC("MAIN");
  setSetting(kSetDeleted, true);
}

}  // namespace kv::app
