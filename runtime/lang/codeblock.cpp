#include "runtime/lang/codeblock.h"

#include <utility>
#include <vector>

#include "runtime/error/error.h"

namespace kv {

namespace {

class NativeBlock final : public BlockData {
 public:
  explicit NativeBlock(BlockFn fn) : fn_(std::move(fn)) {}
  Value eval(std::span<Value> args) override { return fn_(args); }

 private:
  BlockFn fn_;
};

Value notABlock(const Value& block, Args args) {
  return noMethodError(block, "EVAL", args);
}

Value fnEval(Args args) {
  if (args.empty()) return notABlock(Value(), args);
  return EVAL(args[0].deref(), args.subspan(1));
}

}  // namespace

Value EVAL(const Value& block, Args args) {
  BlockData* b = block.deref().blk();
  if (!b) return notABlock(block.deref(), args);
  // Keep the block alive while it runs, even if it replaces the variable that held it.
  BlockPtr keep = block.deref().blockPtr();
  return keep->eval(args);
}

Value EVAL(const Value& block, std::initializer_list<Value> args) {
  std::vector<Value> copy(args);
  return EVAL(block, Args(copy));
}

Value makeBlock(BlockFn fn, int params) {
  auto b = std::allocate_shared<NativeBlock>(CountingAllocator<NativeBlock>(), std::move(fn));
  b->params = params;
  return Value::block(std::move(b));
}

void assignArg(Args args, std::size_t i, const Value& v) {
  if (i >= args.size()) return;
  if (Value* target = args[i].cellPtr()) {
    *target = v.deref();
  } else {
    args[i] = v.deref();
  }
}

void registerBlockFunctions() {
  registerFunction("EVAL", &fnEval);
}

}  // namespace kv
