#pragma once
// The engine's one path to the runtime's error system. Tests may put a hook in front of it
// to see every error record the engine raises and answer it themselves.
#include <functional>
#include <string>

#include "runtime/error/error.h"

namespace kv::engine {

// What an operation of the engine answers. Every value but kSuccess is a failure; the ones
// beyond kFailure say more for the caller that wants to know.
enum Status : int {
  kSuccess = 0,
  kFailure = 1,  // the operation failed; its error was raised
  // Order creation: the key or FOR text does not compile (the syntax error was raised).
  kNotCompiled = 2,
  // Order creation: the new index's header could not be written in full; no error is
  // raised and no index is left behind.
  kIndexHeaderShort = 1137,
};

using ErrorHook = std::function<ErrorResult(const ErrorRecord&)>;
// Installs (or, with an empty hook, removes) the hook; answers the previous one.
ErrorHook setErrorHook(ErrorHook hook);

// Raises through the hook when one is installed, else through raiseError().
ErrorResult engineRaise(const ErrorRecord& record);

// The record of an error about a file (open, create, read, write, lock, corruption): codes,
// file name and operating-system code; the raiser adds the answers it allows and the attempts
// made so far, and leaves the subsystem to the work area or sets it. When the file operation
// was refused because the name matches several files that differ only in case, the file name
// names them all.
ErrorRecord fileError(int genCode, int subCode, const std::string& fileName, int osCode = 0);

// An error of the database commands (subsystem "DBCMD", default allowed): argument errors
// (gen 1) and the no-table error (gen 35, subcode 2001).
ErrorResult dbcmdError(int genCode, int subCode, std::string_view operation);
// The no-table error of a database function.
void noTableError(std::string_view operation);

}  // namespace kv::engine
