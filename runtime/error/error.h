#pragma once
// Run-time errors. Every failure the application may handle is raised here: an error record
// becomes an error object that is handed to the installed handler block (ERRORBLOCK); the
// handler's answer tells the raiser to retry, take the default or use a substitute value,
// or the program ends. This is the only path by which the runtime, the engine and the
// window library report failures.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/error/errorcodes.h"
#include "runtime/lang/symbols.h"
#include "runtime/value/value.h"

namespace kv {

// What a raiser knows about a failure. An empty description is filled from the table of
// general codes; `args` are the failing operation's arguments. A record is built from its
// codes and then the parts the raiser knows, each builder answering the record:
//   raiseError(ErrorRecord(EG_OPEN, kDbOpenTable).file(name).os(code).allow(kCanRetry).attempt(n))
struct ErrorRecord {
  ErrorRecord() = default;
  ErrorRecord(int gen, int sub) : genCode(gen), subCode(sub) {}

  ErrorRecord& in(std::string_view name) { return subsystem = name, *this; }
  ErrorRecord& op(std::string_view name) { return operation = name, *this; }
  ErrorRecord& file(std::string_view name) { return fileName = name, *this; }
  ErrorRecord& os(int code) { return osCode = code, *this; }
  // A description of its own in place of the general code's.
  ErrorRecord& describe(std::string_view text) { return description = text, *this; }
  // The answers the handler may give (ErrorFlag bits), replacing those given before.
  ErrorRecord& allow(int answers) { return flags = answers, *this; }
  // The attempts made so far (1 for the first).
  ErrorRecord& attempt(int n) { return tries = n, *this; }
  ErrorRecord& with(std::initializer_list<Value> values) {
    args.insert(args.end(), values.begin(), values.end());
    return *this;
  }
  ErrorRecord& with(Args values) {
    args.insert(args.end(), values.begin(), values.end());
    return *this;
  }

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

// Raises an error: builds the error object (see errorobject.h) and evaluates the handler
// block with it. Answers only what the error's flags allow: Retry when the handler answered
// true and retry is allowed, Default when it answered false and a default is allowed, else
// Substitute (with the handler's answer) when a substitute is allowed. Any other outcome, a
// raise while the handler runs, or no handler at all, writes the report to the error channel
// and ends the program with error level 1 (QUIT: the end sequence still runs). A handler may
// also leave by BREAK or QUIT; both unwind through the raiser.
ErrorResult raiseError(const ErrorRecord& record);

// The record of a failure of the runtime: subsystem "BASE", the operation, and a
// substitute allowed.
ErrorRecord baseError(int genCode, int subCode, std::string_view operation);
// Raises it and answers the handler's substitute, which stands for the operation's result.
Value raiseForSubstitute(const ErrorRecord& record);

// Argument error (code 1, subsystem "BASE") of a runtime function, substitute allowed:
// answers the handler's substitute, which becomes the function's result.
Value argumentError(std::string_view operation, int subCode, Args args);
// Call of a function or procedure that does not exist (code 12, "BASE", subcode 1001,
// substitute allowed): answers the substitute, which stands for the call's result.
Value noFunctionError(std::string_view name, Args args = {});
// A message the receiver does not answer (code 13, "BASE", subcode 1004, substitute
// allowed); the arguments are the receiver followed by the message's arguments.
Value noMethodError(const Value& receiver, std::string_view message, Args args = {});
// A variable that does not exist (code 14, "BASE", subcode 1003, substitute allowed).
Value noVariableError(std::string_view name);
// An alias that names no open work area (code 15, "BASE", subcode 1002, substitute allowed).
Value noAliasError(std::string_view alias);
// Assignment through a read-only property (code 39, "BASE", subcode 1005, substitute
// allowed); the arguments are the receiver and the assigned value.
Value readOnlyPropertyError(const Value& receiver, std::string_view message, const Value& value);
// Division (or modulus, with operation "%") by zero (code 5, "BASE", subcode 1340 for "/",
// 1341 for "%", substitute allowed): answers the substitute, which becomes the quotient.
Value zeroDivisionError(const Value& dividend, const Value& divisor,
                        std::string_view operation = "/");

// Description of a general code from the runtime's table ("Error de argumento", ...; any code
// outside the table: "Error interno").
std::string genCodeDescription(int genCode);
// True when the code has its own line in the table.
bool hasGenCodeDescription(int genCode);

// Internal error n: unrecoverable; writes the trace line, then "  ", then "Error no
// recuperable n: description" (a code of the table) or "Error interno n", and ends the
// program with error level 1.
[[noreturn]] void internalError(int n);

// ERRORBLOCK([block]): the installed handler (nil when none); installs `block` when given.
Value ERRORBLOCK(const Value& block = Value());
// Reinstalls a handler that ERRORBLOCK answered earlier, nil (no handler) included: for a
// scope that installs a handler of its own for a while.
void restoreErrorBlock(const Value& saved);
// ERRORNEW(): a fresh, empty error object.
Value ERRORNEW();

// The last operating-system error code (Windows numbering) and its setter.
int DOSERROR();
void setDosError(int code);
// NETERR([flag]): the network-error flag as it was before the call; sets it when a logical
// is given.
bool NETERR(const Value& flag = Value());

// Thrown by BREAK to leave a sequence with a value; caught by the nearest recover point.
struct BreakException {
  Value value;
};
// BREAK([value]): leaves the current sequence with the value (an error handler may BREAK
// with the error object to abandon the failing operation).
[[noreturn]] void BREAK(const Value& value = Value());

// Registers ERRORBLOCK, ERRORNEW, PROCNAME, PROCLINE, NETERR, DOSERROR and BREAK by name.
void registerErrorFunctions();

// Drops the handler block and clears the flags (end of the run, so the leak report does not
// count the block; tests).
void resetErrorSystem();

}  // namespace kv
