#include "runtime/nativeblock.h"

#include <memory>

namespace kv {

namespace {

class NativeBlock : public BlockData {
 public:
  NativeBlock(BlockFn fn, int nParams) : fn_(std::move(fn)) { params = nParams; }
  Value eval(std::span<Value> args) override { return fn_(args); }

 private:
  BlockFn fn_;
};

}  // namespace

Value makeBlock(BlockFn fn, int params) {
  return Value::block(
      std::allocate_shared<NativeBlock>(CountingAllocator<NativeBlock>(), std::move(fn), params));
}

Value evalBlockValue(const Value& block, Args args) {
  // Hold the block while it runs: the body may replace the variable that referenced it.
  BlockPtr b = block.deref().blockPtr();
  return b ? b->eval(args) : Value();
}

}  // namespace kv
