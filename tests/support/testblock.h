#pragma once
// A code block made from a C++ lambda, for tests of functions that evaluate blocks.
#include <functional>
#include <memory>
#include <span>

#include "runtime/value/value.h"

namespace kv::test {

class LambdaBlock : public BlockData {
 public:
  using Fn = std::function<Value(std::span<Value>)>;
  explicit LambdaBlock(Fn fn, std::vector<Value> held = {}) : fn_(std::move(fn)), held_(held) {}
  Value eval(std::span<Value> args) override { return fn_(args); }
  void traverse(void (*visit)(const Value&, void*), void* ctx) const override {
    for (const Value& v : held_) visit(v, ctx);
  }
  std::vector<Value>& held() { return held_; }

 private:
  Fn fn_;
  std::vector<Value> held_;
};

// A block value around `fn`; `held` are values the block keeps (as captured variables).
inline Value lambdaBlock(LambdaBlock::Fn fn, std::vector<Value> held = {}) {
  return Value::block(std::make_shared<LambdaBlock>(std::move(fn), std::move(held)));
}

}  // namespace kv::test
