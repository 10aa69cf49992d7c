#pragma once
// Code blocks: closures evaluated through one path, EVAL. A block is either compiled from
// expression text (runtime/macro/macro.h) or made from a C++ callable here. Arguments may be
// passed by reference: the caller passes Value::reference(cell), the block reads it with
// arg() and writes it back with assignArg(), and the caller reads the cell afterwards. An
// error raised inside a block unwinds through EVAL like any C++ exception, so the error
// system can abandon a block at any point.
#include <functional>
#include <initializer_list>

#include "runtime/lang/symbols.h"
#include "runtime/value/value.h"

namespace kv {

// Evaluates a code block with the given arguments and answers its value. A value that is not
// a block raises "No existe el método" (gen 13, subcode 1004, operation "EVAL"), whose
// substitute becomes the result.
Value EVAL(const Value& block, Args args);
Value EVAL(const Value& block, std::initializer_list<Value> args);
inline Value EVAL(const Value& block) {
  return EVAL(block, Args());
}

// The body of a block made from C++: receives the arguments as passed.
using BlockFn = std::function<Value(Args args)>;

// A code block value around a C++ callable that declares `params` parameters.
Value makeBlock(BlockFn fn, int params = 0);

// Stores `v` into argument i: through the reference when the argument was passed by
// reference, else into the argument slot itself (which the caller does not see).
void assignArg(Args args, std::size_t i, const Value& v);

// Registers EVAL by name (done by registerRuntimeFunctions at start-up; safe to repeat).
void registerBlockFunctions();

}  // namespace kv
