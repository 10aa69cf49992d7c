// The program `kalvedo`: the runtime's start, MAIN, and the end sequence.
#include "app/kalvedo.h"
#include "runtime/lang/lifecycle.h"

int main() {
  kv::app::registerModules();
  return kv::runProgram(&kv::app::MAIN);
}
