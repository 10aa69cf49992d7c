#pragma once
// Run-time errors. Every failure the application may handle is raised here: an error record
// becomes an error object that is handed to the installed handler block (ERRORBLOCK); the
// handler's answer tells the raiser to retry, take the default or use a substitute value,
// or the program ends. This is the only path by which the runtime, the engine and the
// window library report failures.
#include <string>
#include <vector>

#include "runtime/symbols.h"
#include "runtime/value.h"

namespace kv {

// Flags of an error: what the handler may answer.
enum ErrorFlag : int { kCanRetry = 1, kCanSubstitute = 2, kCanDefault = 4 };

// General error codes used across the system.
enum GenCode : int {
  EG_ARG = 1,
  EG_BOUND = 2,
  EG_STROVERFLOW = 3,
  EG_NUMOVERFLOW = 4,
  EG_ZERODIV = 5,
  EG_NUMERR = 6,
  EG_SYNTAX = 7,
  EG_COMPLEXITY = 8,
  EG_MEM = 11,
  EG_NOFUNC = 12,
  EG_NOMETHOD = 13,
  EG_NOVAR = 14,
  EG_NOALIAS = 15,
  EG_NOVARMETHOD = 16,
  EG_BADALIAS = 17,
  EG_DUPALIAS = 18,
  EG_CREATE = 20,
  EG_OPEN = 21,
  EG_CLOSE = 22,
  EG_READ = 23,
  EG_WRITE = 24,
  EG_PRINT = 25,
  EG_UNSUPPORTED = 30,
  EG_LIMIT = 31,
  EG_CORRUPTION = 32,
  EG_DATATYPE = 33,
  EG_DATAWIDTH = 34,
  EG_NOTABLE = 35,
  EG_NOORDER = 36,
  EG_SHARED = 37,
  EG_UNLOCKED = 38,
  EG_READONLY = 39,
  EG_APPENDLOCK = 40,
  EG_LOCK = 41,
};

// What a raiser knows about a failure. An empty description is filled from the table of
// general codes; `args` are the failing operation's arguments.
struct ErrorSpec {
  int severity = 2;
  int genCode = 0;
  int subCode = 0;
  int osCode = 0;
  int flags = 0;
  int tries = 0;
  std::string subsystem;
  std::string description;
  std::string operation;
  std::string fileName;
  std::vector<Value> args;
};

enum class ErrorAnswer { Retry, Default, Substitute };
struct ErrorResult {
  ErrorAnswer answer;
  Value value;  // the substitute for ErrorAnswer::Substitute
};

// Raises an error: builds the error object and evaluates the handler. Returns only with an
// answer the error's flags allow; any other outcome ends the program (see error.cpp).
ErrorResult raiseError(const ErrorSpec& spec);

// Argument error (code 1, subsystem "BASE") of a runtime function, substitute allowed:
// answers the handler's substitute, which becomes the function's result.
Value argumentError(std::string_view operation, int subCode, Args args);

// Description of a general code from the runtime's table ("Error de argumento", ...).
std::string genCodeDescription(int genCode);

// Internal error n: unrecoverable, logged, ends the program with return code 1.
[[noreturn]] void internalError(int n);

// ERRORBLOCK([block]): the installed handler (nil when none); installs `block` when given.
Value ERRORBLOCK(const Value& block = Value());
// ERRORNEW(): a fresh, empty error object.
Value ERRORNEW();

// The last operating-system error code (Windows numbering) and its setter.
int DOSERROR();
void setDosError(int code);
// NETERR([flag]): the network-error flag; sets it when a logical is given.
bool NETERR(const Value& flag = Value());

// Thrown by BREAK to leave a sequence with a value; caught by the nearest recover point.
struct BreakException {
  Value value;
};

}  // namespace kv
