#include "runtime/value/memory.h"

namespace kv {

namespace {
std::int64_t g_inUse = 0;
}

std::int64_t memInUse() {
  return g_inUse;
}
void memAdjust(std::int64_t delta) {
  g_inUse += delta;
}

}  // namespace kv
