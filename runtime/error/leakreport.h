#pragma once
// The leak report at the very end of the run: the runtime first releases every value it holds
// for the whole run (memory variables, settings, the error handler, the class table's
// templates, and whatever other modules registered), then, if bytes it allocated for values
// are still held, writes "Bytes sin liberar: " and the count to the error channel.
#include "runtime/lang/lifecycle.h"

namespace kv {

// A module's release of the values it keeps for the whole run; runs before the count.
void registerMemoryRelease(Procedure p);

// Releases and reports (registered as the final report by runProgram).
void reportUnreleasedMemory();

}  // namespace kv
