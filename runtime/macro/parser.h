#pragma once
// The parser of expression text: tokens to a compiled Program (runtime/macro/nodes.h).
// Precedence from loosest to tightest: assignments (right-associative), .OR., .AND., .NOT.
// and "!" (applied to the comparison that follows), the comparisons (one level), "+" "-",
// "*" "/" "%", power; two-operand operators of one level associate to the left; prefix signs
// and increments and the postfix forms (indexing, ":" sends, "->", "++", "--") bind tighter.
#include <span>
#include <string_view>

#include "runtime/macro/nodes.h"

namespace kv::macro {

// A function compiled inline when called with minArgs to maxArgs arguments (-1: any number).
struct InlineFunction {
  const char* name;
  int minArgs;
  int maxArgs;
};

// Compiles `text` as the body of a block without parameters: an expression list whose value
// is the last. Throws CompileError (runtime/macro/lexer.h) for a text that does not compile,
// including a text of blanks only.
ProgramPtr parseProgram(std::string_view text);

// The full name of an inline function that `name` spells or abbreviates (5+ characters cut
// to 4 or more), or empty when it is none; `minArgs`/`maxArgs` give its argument counts
// (maxArgs -1: any number).
std::string_view inlineFunction(std::string_view name, int& minArgs, int& maxArgs);

// Every inline function, in the order of the table.
std::span<const InlineFunction> inlineFunctions();

}  // namespace kv::macro
