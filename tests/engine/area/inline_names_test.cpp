// Every function of the expression compiler's inline table is there to be called, with the
// runtime's and the engine's functions registered as the program registers them: a key or
// filter that names one never meets the missing-function error.
#include <string>
#include <vector>

#include "runtime/error/error.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/functions.h"
#include "runtime/macro/macro.h"
#include "runtime/macro/parser.h"
#include "support/engine_fixture.h"

using namespace kv;

namespace {

class InlineNames : public kvtest::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    registerRuntimeFunctions();
    resetErrorSystem();
    engine::DBCREATE(Value("names"), structure({row("NAZIV", "C", 10, 0)}));
    use("names");
    engine::DBAPPEND();
  }
  void TearDown() override {
    resetErrorSystem();
    EngineTest::TearDown();
  }
};

TEST_F(InlineNames, EveryInlineFunctionIsRegistered) {
  for (const macro::InlineFunction& f : macro::inlineFunctions()) {
    const std::string name = f.name;
    // PCOUNT has no function behind it: its inline form reads the block's own count.
    if (name != "PCOUNT") {
      const Symbol* sym = findSymbol(name);
      EXPECT_TRUE(sym && sym->fn) << name;
    }
    // Called with its fewest arguments (nils: a wrong kind may raise, but nothing else).
    std::string text = name + "(";
    for (int i = 0; i < f.minArgs; ++i) text += i ? ", NIL" : "NIL";
    text += ")";
    std::vector<int> raised;
    ERRORBLOCK(makeBlock(
        [&raised](Args a) -> Value {
          raised.push_back(send(arg(a, 0), "GENCODE").asInt());
          BREAK(arg(a, 0));
        },
        1));
    CompileResult r = compileExpression(text);
    ASSERT_EQ(r.status, 0) << text << ": " << r.message;
    try {
      EVAL(r.block);
    } catch (const BreakException&) {
    }
    for (int gen : raised) EXPECT_NE(gen, EG_NOFUNC) << text;
    resetErrorSystem();
  }
}

}  // namespace
