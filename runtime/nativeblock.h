#pragma once
// Code blocks written in C++: a block value whose body is a C++ function. The runtime and the
// application use them where the language would write a block literal, e.g. the error
// handler {|e| DEFERROR(e)} installed by ERRORSYS, or an event handler that forwards to a
// method of a form.
#include <functional>

#include "runtime/symbols.h"
#include "runtime/value.h"

namespace kv {

using BlockFn = std::function<Value(Args args)>;

// A code block that runs `fn` with its arguments (by-reference arguments stay Ref values, so
// the body can assign through them). `params` is the number of declared parameters. Values
// the function captures are not reported to the cycle collector: they stay alive as long as
// the block, so a captured value must not lead back to the block itself.
Value makeBlock(BlockFn fn, int params = 0);

// Evaluates a code block with the given arguments; nil for a value that is not a block.
Value evalBlockValue(const Value& block, Args args = {});

}  // namespace kv
