// The expression target: the input is an expression text. It is compiled as the engine
// compiles key and filter texts (at most 256 characters) and as the "&" operator compiles any
// text; when it compiles it is evaluated, and TYPE() is asked about it. Errors the evaluation
// raises end it through the handler's BREAK.
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "fuzz/fuzz_targets.h"
#include "runtime/lang/codeblock.h"
#include "runtime/macro/macro.h"

namespace kvfuzz {

int fuzzMacro(const std::uint8_t* data, std::size_t size) {
  startRun();
  const std::string text(reinterpret_cast<const char*>(data), size);
  guarded([&] {
    if (text.size() <= kv::kMaxExpressionText) (void)kv::compileBlock(kv::Value(text));
  });
  guarded([&] {
    kv::CompileResult r = kv::compileExpression(text);
    if (r.status == 0) (void)kv::EVAL(r.block, {});
  });
  guarded([&] { (void)kv::TYPE(kv::Value(text)); });
  return 0;
}

}  // namespace kvfuzz
