#pragma once
// The expression (macro) compiler's interface: expression text becomes a code block without
// parameters whose value is that of the expression. The table engine compiles its key, FOR
// and filter texts with compileBlock(); tools and the "&" operator compile any text.
#include <string>
#include <string_view>

#include "runtime/value/value.h"

namespace kv {

struct CompileResult {
  int status = 0;       // 0 compiled; 2 the text does not compile
  Value block;          // the block when status is 0
  std::string message;  // why the text does not compile (status 2)
};

// Longest expression text that compileBlock() accepts.
constexpr std::size_t kMaxExpressionText = 256;

// Compiles a key, FOR or filter text. A missing text (not a string) is internal error 1254,
// a text longer than 256 characters internal error 1255; a text that does not compile
// (blanks only included) answers status 2 and a description, never an error.
CompileResult compileBlock(const Value& text);

// Compiles expression text of any length (command-line expressions, "&"): status 2 and a
// description when it does not compile.
CompileResult compileExpression(std::string_view text);

// Compiles and evaluates a text at run time. A text that does not compile raises "Error de
// sintaxis" (gen 7, subcode 1449, the compiler's description as operation) whose
// substitute becomes the result; a value that is not a string is an argument error.
Value evalMacroText(const Value& text);

// TYPE(text): the type letter (as VALTYPE gives it) of the value of the expression in `text`,
// found by compiling and evaluating it; an error of the expression is never raised: "UE"
// when the text does not compile (a macro text inside it included), "U" when a name in it
// (a variable, a field or an alias) does not exist, "UI" when the evaluation fails in any
// other way (a function that does not exist included) or leaves by BREAK. The evaluation
// keeps its effects (an assignment stays made). A value that is not a string raises the
// argument error (general code 1, subsystem "BASE", subcode 1121).
Value TYPE(const Value& text);

// Registers TYPE by name.
void registerMacroFunctions();

}  // namespace kv
