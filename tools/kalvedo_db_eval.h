#pragma once
// The expression command of the command-line companion:
//   kalvedo-db eval [--date FORMAT] [--century] [--deleted] EXPR...
// Each expression is compiled and evaluated in turn in this one process, so a later one sees
// the memory variables and the open tables an earlier one left; each result is printed on its
// own line (see formatEvalResult). The options set the date format, the century and the
// hiding of deleted records before the first expression. An expression that does not compile
// or fails at run time raises its error through the runtime's error system, whose handler
// reports it and ends the run with error level 1; the report's call chain names the
// expression ("Called from EVAL: TEXT (N)", N its position among the expressions, the text
// cut to 60 characters).
#include <string>
#include <vector>

#include "runtime/value/value.h"

namespace kv::tools {

int dbEvalCommand(const std::vector<std::string>& args);

// The printed form of a result, in the table's code page: text as it is, numbers as STR of
// the value with leading blanks removed, dates with DTOC, logicals ".T." / ".F.", nil "NIL",
// arrays as "{a, b}" with every element printed by the same rules, code blocks "{|| ... }"
// and objects "<object>".
std::string formatEvalResult(const Value& v);

}  // namespace kv::tools
