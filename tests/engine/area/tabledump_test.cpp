// The companion's table forms, and expressions that reach fields through the engine's
// field resolver.
#include <sstream>

#include "engine/area/fieldresolver.h"
#include "engine/area/tabledump.h"
#include "runtime/format/dates.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/functions.h"
#include "runtime/macro/macro.h"
#include "support/engine_fixture.h"

using namespace kv;
using namespace kv::engine;
using kvtest::EngineTest;

namespace {

using ToolsTest = EngineTest;

Value evalText(const char* text) {
  CompileResult r = compileExpression(text);
  EXPECT_EQ(r.status, 0) << text << ": " << r.message;
  if (r.status != 0 || !r.block.isBlock()) return Value();
  return EVAL(r.block);
}

}  // namespace

TEST_F(ToolsTest, StructureAndDumpLines) {
  DBCREATE(Value("d"),
           structure({row("NAME", "C", 6, 0), row("QTY", "N", 7, 2), row("DAY", "D", 8, 0),
                      row("OK", "L", 1, 0), row("NOTE", "M", 10, 0)}));
  use("d");
  DBAPPEND();
  FIELDPUT(Value(1), Value("ab"));
  FIELDPUT(Value(2), Value(-3.5));
  FIELDPUT(Value(3), Value::date(julianFromCalendar(2, 1, 2025)));
  FIELDPUT(Value(4), Value(true));
  FIELDPUT(Value(5), Value("a\r\nb\\"));
  DBAPPEND();
  DBDELETE();
  std::ostringstream st, plain, all;
  writeStructure(*currentArea(), st);
  EXPECT_EQ(st.str(), "NAME C 6 0\nQTY N 7 2\nDAY D 8 0\nOK L 1 0\nNOTE M 10 0\n");
  EXPECT_EQ(writeRecords(*currentArea(), plain, false), kSuccess);
  EXPECT_EQ(plain.str(), "1 ab|-3.50|20250102|T|a\\r\\nb\\\\\n");
  EXPECT_EQ(writeRecords(*currentArea(), all, true), kSuccess);
  EXPECT_EQ(all.str(), "1 ab|-3.50|20250102|T|a\\r\\nb\\\\\n2*|||F|\n");
}

TEST_F(ToolsTest, ExpressionsReadAndAssignFields) {
  registerRuntimeFunctions();
  installFieldResolver();
  DBCREATE(Value("x"), structure({row("NAZIV", "C", 8, 0), row("N", "N", 4, 0)}));
  use("x");
  DBAPPEND();
  evalText("NAZIV := 'abc'");
  evalText("x->N := 42");
  EXPECT_EQ(evalText("upper(Naziv)").str(), "ABC     ");
  EXPECT_EQ(evalText("x->N").asDouble(), 42);
  EXPECT_EQ(FIELDGET(Value(2)).asDouble(), 42);
  EXPECT_TRUE(currentArea()->compile("SUBSTR(Naziv, 1, 2)"));
  EXPECT_EQ(currentArea()->evalBlock(currentArea()->result()), kSuccess);
  EXPECT_EQ(currentArea()->result().str(), "ab");
  EXPECT_FALSE(currentArea()->compile("   "));
  EXPECT_TRUE(errors.empty());
}

TEST_F(ToolsTest, CompanionPrintsStructureAndRecords) {
  DBCREATE(Value("c"), structure({row("NAME", "C", 6, 0), row("OK", "L", 1, 0)}));
  use("c");
  DBAPPEND();
  FIELDPUT(Value(1), Value("\xE8vor"));  // č in the table's code page
  DBAPPEND();
  FIELDPUT(Value(1), Value("x"));
  DBDELETE();
  DBCLOSEALL();
  const char* bin = std::getenv("KV_BIN_DIR");
  std::string tool = std::string(bin ? bin : KV_BIN_DIR) + "/kalvedo-db";
  auto run = [&](const std::string& args) {
    std::string out;
    FILE* p = popen(("cd '" + dir_.string() + "' && '" + tool + "' " + args).c_str(), "r");
    char buf[512];
    std::size_t n;
    while (p && (n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    if (p) pclose(p);
    return out;
  };
  EXPECT_EQ(run("struct c"), "NAME C 6 0\nOK L 1 0\n");
  EXPECT_EQ(run("dump c"), "1 \xC4\x8Dvor|F\n");
  EXPECT_EQ(run("dump c --deleted"), "1 \xC4\x8Dvor|F\n2*x|F\n");
}
