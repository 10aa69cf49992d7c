#pragma once
// A scope in which an error raised by the runtime or the engine does not reach the
// program's handler: the error object leaves through BREAK, so the caller catches
// BreakException and reports the failure as a finding of the file it was reading. Used by
// the check command, which must describe damage instead of ending on it.
#include <string>

#include "runtime/value/value.h"

namespace kv::tools {

class ErrorTrap {
 public:
  ErrorTrap();
  ~ErrorTrap();
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;

  // "error GEN/SUB DESCRIPTION OPERATION" for an error object, "an error" for anything else.
  static std::string describe(const Value& error);
  // What the error's operating-system code means in plain words ("the disk is full",
  // "another station has it open exclusively"); empty without a code.
  static std::string reason(const Value& error);

 private:
  Value saved_;
};

// Opens a table shared and read-only in a new work area with the given driver ("" for the
// default one), for the command named `command`. When it cannot be opened, says so on
// standard error with the reason ("kalvedo-db: dump failed: the table t cannot be opened:
// another station has it open exclusively (error 21/1001 ...)") and answers false.
bool openTableForCommand(const std::string& command, const std::string& table,
                         const std::string& driver);

}  // namespace kv::tools
