#pragma once
// The library's file-name and program functions, callable by name:
//   EXTRACTFILEPATH(name)  drive and directory with the trailing separator ("" when missing)
//   EXTRACTFILENAME(name)  the name without directory and extension ("" when missing)
//   WINEXEC(commandLine, showMode, wait)
//                          starts the command line (platform/process.h startProgram); with
//                          wait true blocks the whole user interface until it ends; answers
//                          whether it started. The show mode has no meaning here: a started
//                          program opens its own windows as it likes.
// A file name or command line that is not text is treated as missing ("" / false).
#include "runtime/value/value.h"

namespace kv::ui {

Value EXTRACTFILEPATH(const Value& name);
Value EXTRACTFILENAME(const Value& name);
Value WINEXEC(const Value& commandLine, const Value& showMode, const Value& wait);

// Registers the functions above and the TINIFILE class function by name.
void registerIniFunctions();

}  // namespace kv::ui
