#include "runtime/error/leakreport.h"

#include <string>
#include <vector>

#include "runtime/error/error.h"
#include "runtime/error/errorchannel.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/eventpoll.h"
#include "runtime/lang/memvars.h"
#include "runtime/lang/settings.h"
#include "runtime/value/memory.h"

namespace kv {

namespace {
std::vector<Procedure>& releases() {
  static std::vector<Procedure> v;
  return v;
}
}  // namespace

void registerMemoryRelease(Procedure p) {
  releases().push_back(p);
}

void reportUnreleasedMemory() {
  for (Procedure p : releases()) p();
  releaseAllMemvars();
  resetErrorSystem();
  releaseClassValues();
  releaseSettings();
  // Cycles among arrays, objects and blocks are garbage now that their roots are gone.
  collectGarbage();
  std::int64_t held = memInUse();
  if (held > 0) writeErrorChannel("Bytes sin liberar: " + std::to_string(held));
}

}  // namespace kv
