#include "runtime/macro/macro.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "runtime/error/error.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/fieldaccess.h"
#include "runtime/lang/memvars.h"
#include "runtime/lang/settings.h"
#include "runtime/macro/parser.h"

using namespace kv;

namespace {

Value run(const std::string& text) {
  CompileResult r = compileExpression(text);
  EXPECT_EQ(r.status, 0) << text << ": " << r.message;
  if (r.status != 0) return Value();
  return EVAL(r.block);
}

// Renders a value for comparison in tables: N:<number>, C:<text>, L:T/F, D:<julian>, U, A{..}
std::string show(const Value& value) {
  const Value& v = value.deref();
  if (v.isNil()) return "U";
  if (v.isNumber()) {
    char buf[64];
    snprintf(buf, sizeof buf, "N:%g", v.asDouble());
    return buf;
  }
  if (v.isString()) return "C:" + v.toStdString();
  if (v.isLogical()) return v.asBool() ? "L:T" : "L:F";
  if (v.isDate()) return "D:" + std::to_string(v.julian());
  if (v.isBlock()) return "B";
  if (v.isArray()) {
    std::string s = "A{";
    for (std::size_t i = 0; i < v.arrayLen(); ++i) {
      if (i) s += ",";
      s += show(v.arr()->items[i]);
    }
    return s + "}";
  }
  return "?";
}

class Macro : public ::testing::Test {
 protected:
  void SetUp() override { resetSettings(); }
  void TearDown() override {
    releaseAllMemvars();
    setFieldResolver(nullptr);
  }
};

TEST_F(Macro, PrecedenceAndAssociativity) {
  const struct {
    const char* text;
    const char* value;
  } cases[] = {
      {"1 + 2 * 3", "N:7"},
      {"(1 + 2) * 3", "N:9"},
      {"10 - 4 - 3", "N:3"},
      {"2 * 3 % 4", "N:2"},
      {"100 / 10 / 5", "N:2"},
      {"2 ^ 3 ^ 2", "N:64"},
      {"2 ** 3", "N:8"},
      {"-2 ^ 2", "N:4"},
      {"2 * -3", "N:-6"},
      {"1 + 2 ^ 2 * 3", "N:13"},
      {"7 % 3", "N:1"},
      {"1 < 2 .AND. 2 < 3", "L:T"},
      {".T. .OR. .F. .AND. .F.", "L:T"},
      {"(.T. .OR. .F.) .AND. .F.", "L:F"},
      {"!.T. .OR. .T.", "L:T"},
      {".NOT. 1 = 2", "L:T"},
      {"! 1 + 1 == 2", "L:F"},
      {"1 + 1 = 2", "L:T"},
      {"\"ab\" + \"cd\" == \"abcd\"", "L:T"},
      {"\"ab  \" - \"cd\"", "C:abcd  "},
      {"'x' $ 'axb'", "L:T"},
      {"[ab] + 'c'", "C:abc"},
      {"3 >= 3 .AND. 3 <= 3 .AND. 4 > 3 .AND. 3 # 4 .AND. 3 != 4 .AND. 3 <> 4", "L:T"},
      {".Y. .AND. !.N.", "L:T"},
      {"NIL", "U"},
      {"1, 2, 3", "N:3"},
      {"(1, 2) + 1", "N:3"},
      {"{1, 'a', {2}}", "A{N:1,C:a,A{N:2}}"},
      {"{1, , 3}", "A{N:1,U,N:3}"},
      {"{}", "A{}"},
      {"{10, 20, 30}[2]", "N:20"},
      {"{{1, 2}, {3, 4}}[2, 1]", "N:3"},
      {"{{1, 2}, {3, 4}}[2][2]", "N:4"},
      {"Eval({|a, b| a * b}, 6, 7)", "N:42"},
      {"Eval({|| 1, 2})", "N:2"},
      {"Eval({|x| Eval({|y| x + y}, 2)}, 1)", "N:3"},
      {"Eval(Eval({|x| {|y| x * y}}, 5), 3)", "N:15"},
      {"IIF(.T., 'a', 'b')", "C:a"},
      {"IF(1 > 2, 'a', 'b')", "C:b"},
      {"Eval({|x| x}, 1, 2)", "N:1"},
      {"Eval({|x, y| y})", "U"},
      {"Eval({|| PCount()}, 1, 2, 3)", "N:3"},
  };
  for (const auto& c : cases) EXPECT_EQ(show(run(c.text)), c.value) << c.text;
}

TEST_F(Macro, NumbersCarryDecimals) {
  Value v = run("1.50 + 2");
  EXPECT_TRUE(v.isDouble());
  EXPECT_EQ(v.decimals(), 2);
  EXPECT_EQ(v.width(), 0);
  v = run("10 / 4");
  EXPECT_DOUBLE_EQ(v.asDouble(), 2.5);
  EXPECT_EQ(v.decimals(), 2);
  v = run("2147483647 + 1");
  EXPECT_DOUBLE_EQ(v.asDouble(), 2147483648.0);
  EXPECT_TRUE(run("6 * 7").isInteger());
}

TEST_F(Macro, Dates) {
  PUBLIC("D", Value::date(2451545));
  EXPECT_EQ(show(run("d + 1")), "D:2451546");
  EXPECT_EQ(show(run("1 + d")), "D:2451546");
  EXPECT_EQ(show(run("d - 1")), "D:2451544");
  EXPECT_EQ(show(run("d - (d - 10)")), "N:10");
  EXPECT_EQ(show(run("d++, d")), "D:2451546");
}

TEST_F(Macro, AssignmentsAndIncrements) {
  EXPECT_EQ(show(run("x := 5")), "N:5");
  EXPECT_EQ(show(memvarGet("X")), "N:5");
  EXPECT_EQ(show(run("x += 2, x")), "N:7");
  EXPECT_EQ(show(run("x -= 1, x *= 3, x /= 2, x")), "N:9");
  EXPECT_EQ(show(run("x %= 4, x ^= 2, x")), "N:1");
  EXPECT_EQ(show(run("x **= 3")), "N:1");
  EXPECT_EQ(show(run("x++")), "N:1");
  EXPECT_EQ(show(run("x")), "N:2");
  EXPECT_EQ(show(run("++x")), "N:3");
  EXPECT_EQ(show(run("--x, x--, x")), "N:1");
  EXPECT_EQ(show(run("a := b := 4, a + b")), "N:8");
  EXPECT_EQ(show(run("arr := {1, 2}, arr[2] := 'z', arr")), "A{N:1,C:z}");
  EXPECT_EQ(show(run("arr[1]++, arr[1]")), "N:2");
  EXPECT_EQ(show(run("Eval({|p| p := p + 1, p}, 1)")), "N:2");
  EXPECT_EQ(show(run("MEMVAR->x := 10, MEMV->x + MEMVA->x")), "N:20");
}

TEST_F(Macro, ByReference) {
  PUBLIC("N", Value(1));
  Value r = run("Eval({|v| v := v * 10}, @n), n");
  EXPECT_EQ(show(r), "N:10");
  // A C++ block writes back through a reference argument.
  Value setter = makeBlock(
      [](Args args) {
        assignArg(args, 0, Value(42));
        return Value();
      },
      1);
  PUBLIC("SETTER", setter);
  EXPECT_EQ(show(run("Eval(setter, @n), n")), "N:42");
  // A block parameter passed on by reference.
  EXPECT_EQ(show(run("Eval({|k| Eval(setter, @k), k}, 0)")), "N:42");
  // And a C++ caller reads its cell back.
  Cell key = newCell(Value(13));
  Value kb = run("{|s, k| k := k + 1}");
  Value args[] = {Value(), Value::reference(key)};
  EVAL(kb, Args(args));
  EXPECT_EQ(show(*key), "N:14");
}

TEST_F(Macro, IifEvaluatesOnlyTheChosenBranch) {
  PUBLIC("HITS", Value(0));
  EXPECT_EQ(show(run("IIF(.T., hits++, hits += 100), hits")), "N:1");
  EXPECT_EQ(show(run("IF(.F., hits += 100, hits++), hits")), "N:2");
  EXPECT_EQ(show(run(".F. .AND. (hits += 100) > 0")), "L:F");
  EXPECT_EQ(show(run(".T. .OR. (hits += 100) > 0")), "L:T");
  EXPECT_EQ(show(run("hits")), "N:2");
}

TEST_F(Macro, MacroOperator) {
  PUBLIC("CEXPR", Value("1 + 2"));
  PUBLIC("CNAME", Value("cexpr"));
  EXPECT_EQ(show(run("&cexpr * 2")), "N:6");
  EXPECT_EQ(show(run("&(cname)")), "C:1 + 2");
}

TEST_F(Macro, BreakLeavesWithAValue) {
  CompileResult r = compileExpression("Break('out')");
  ASSERT_EQ(r.status, 0);
  try {
    EVAL(r.block);
    FAIL() << "no break";
  } catch (const BreakException& b) {
    EXPECT_EQ(show(b.value), "C:out");
  }
}

TEST_F(Macro, CompileFailuresReportWithoutCrashing) {
  const char* bad[] = {
      "",      "   ",  "(1 + 2", "1 + 2)", "{1, 2",  "a[1",       "1 +", "* 2",      "1 2", "'abc",
      "[abc",  "f(1,", "{|x 1}", "{|x| x", "1 := 2", "(a + b)++", "a->", "FIELD->1", "x:",  ".AND.",
      "1 ? 2", "@x",   "&",      "a..b",   "12abc",  "IIF(.T.,",  "{||", "x := ",    ".",   "++1",
  };
  for (const char* text : bad) {
    CompileResult r = compileExpression(text);
    EXPECT_EQ(r.status, 2) << "'" << text << "' compiled";
    EXPECT_FALSE(r.message.empty()) << text;
    EXPECT_TRUE(r.block.isNil()) << text;
  }
  std::string deep(5000, '(');
  CompileResult r = compileExpression(deep + "1" + std::string(5000, ')'));
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.message.find("too complex"), std::string::npos);
}

TEST_F(Macro, CompileBlockLimits) {
  CompileResult r = compileBlock(Value("upper(Naziv)"));
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.block.isBlock());
  EXPECT_EQ(r.block.blk()->params, 0);
  EXPECT_EQ(compileBlock(Value(std::string(256, '1'))).status, 0);
  EXPECT_EQ(compileBlock(Value("  ")).status, 2);
  EXPECT_EQ(compileBlock(Value("a +")).status, 2);
}

TEST_F(Macro, InlineTableAndAbbreviations) {
  int lo = 0, hi = 0;
  EXPECT_EQ(macro::inlineFunction("SUBS", lo, hi), "SUBSTR");
  EXPECT_EQ(lo, 2);
  EXPECT_EQ(hi, 3);
  EXPECT_EQ(macro::inlineFunction("CMON", lo, hi), "CMONTH");
  EXPECT_EQ(macro::inlineFunction("CMONT", lo, hi), "CMONTH");
  EXPECT_EQ(macro::inlineFunction("FIELD", lo, hi), "FIELDNAME");
  EXPECT_EQ(macro::inlineFunction("TRAN", lo, hi), "TRANSFORM");
  EXPECT_EQ(macro::inlineFunction("RECC", lo, hi), "RECCOUNT");
  EXPECT_EQ(macro::inlineFunction("RECN", lo, hi), "RECNO");
  EXPECT_EQ(macro::inlineFunction("TRIM", lo, hi), "TRIM");
  EXPECT_EQ(macro::inlineFunction("SUB", lo, hi), "");  // under 4 characters
  EXPECT_EQ(macro::inlineFunction("DTO", lo, hi), "");
  EXPECT_EQ(macro::inlineFunction("SUBSTRX", lo, hi), "");  // longer than the name
  EXPECT_EQ(macro::inlineFunction("UPPERCASE", lo, hi), "");
  EXPECT_EQ(macro::inlineFunction("STR", lo, hi), "STR");
  EXPECT_EQ(lo, 1);
  EXPECT_EQ(hi, 3);
}

}  // namespace

namespace {

// Work areas of a test: fields by area, aliases to area numbers, a current area.
class FakeAreas : public FieldResolver {
 public:
  std::map<int, std::map<std::string, Value>> fields;
  std::map<std::string, int> aliases;
  int current = 1;
  std::vector<int> selections;  // every area selected, in order

  bool getField(const Symbol& sym, Value& out) override {
    auto& f = fields[current];
    auto it = f.find(sym.name);
    if (it == f.end()) return false;
    out = it->second;
    return true;
  }
  bool putField(const Symbol& sym, const Value& v) override {
    auto& f = fields[current];
    auto it = f.find(sym.name);
    if (it == f.end()) return false;
    it->second = v;
    return true;
  }
  int selectAlias(const Symbol& alias) override {
    auto it = aliases.find(alias.name);
    if (it == aliases.end()) return -1;
    int prev = current;
    current = it->second;
    selections.push_back(current);
    return prev;
  }
  void restoreArea(int area) override {
    current = area;
    selections.push_back(area);
  }
};

class MacroFields : public Macro {
 protected:
  void SetUp() override {
    Macro::SetUp();
    areas.fields[1] = {{"NAZIV", Value("Petrovic")}, {"BRNAL", Value("00042")}};
    areas.fields[2] = {{"NAZIV", Value("Nokia")}};
    areas.aliases = {{"KORISNICI", 1}, {"PROIZTEL", 2}};
    setFieldResolver(&areas);
  }
  FakeAreas areas;
};

TEST_F(MacroFields, FieldOfTheCurrentAreaComesBeforeAMemoryVariable) {
  PUBLIC("NAZIV", Value("memvar"));
  PUBLIC("ONLYMEM", Value("m"));
  EXPECT_EQ(show(run("naziv")), "C:Petrovic");
  EXPECT_EQ(show(run("Naziv + onlymem")), "C:Petrovicm");
  areas.current = 2;
  EXPECT_EQ(show(run("NAZIV")), "C:Nokia");
  areas.current = 3;  // an area without that field: the memory variable
  EXPECT_EQ(show(run("naziv")), "C:memvar");
  areas.current = 1;
  EXPECT_EQ(show(run("MEMVAR->naziv")), "C:memvar");
  EXPECT_EQ(show(run("MEMV->naziv + FIELD->naziv + _FIELD->brnal")), "C:memvarPetrovic00042");
}

TEST_F(MacroFields, AliasSelectsAnotherAreaAndRestores) {
  EXPECT_EQ(show(run("ProizTel->Naziv")), "C:Nokia");
  EXPECT_EQ(areas.current, 1);
  EXPECT_EQ(show(run("PROIZTEL->(Naziv + '/' + Korisnici->Naziv)")), "C:Nokia/Petrovic");
  EXPECT_EQ(areas.current, 1);
  EXPECT_EQ(areas.selections, (std::vector<int>{2, 1, 2, 1, 2, 1}));
}

TEST_F(MacroFields, AssignmentGoesToTheFieldWhenThereIsOne) {
  run("Naziv := 'Jovanovic'");
  EXPECT_EQ(show(areas.fields[1]["NAZIV"]), "C:Jovanovic");
  EXPECT_FALSE(memvarExists("NAZIV"));
  run("ProizTel->Naziv := 'Siemens'");
  EXPECT_EQ(show(areas.fields[2]["NAZIV"]), "C:Siemens");
  run("Novo := 1");
  EXPECT_EQ(show(memvarGet("NOVO")), "N:1");
  run("MEMVAR->Naziv := 'm'");
  EXPECT_EQ(show(memvarGet("NAZIV")), "C:m");
  EXPECT_EQ(show(areas.fields[1]["NAZIV"]), "C:Jovanovic");
}

TEST_F(MacroFields, KeyBlockOfAFieldFunction) {
  CompileResult r = compileBlock(Value("SUBS(Naziv, 1, 3) + BrNal"));
  ASSERT_EQ(r.status, 0) << r.message;
  // SUBSTR is the runtime's; a stand-in is enough to see that SUBS reaches it.
  Symbol* substr = getSymbol("SUBSTR");
  NativeFn saved = substr->fn;
  substr->fn = [](Args a) {
    return Value(arg(a, 0).str().substr(arg(a, 1).asInt() - 1, arg(a, 2).asInt()));
  };
  EXPECT_EQ(show(EVAL(r.block)), "C:Pet00042");
  areas.fields[1]["NAZIV"] = Value("Markovic");
  EXPECT_EQ(show(EVAL(r.block)), "C:Mar00042");
  substr->fn = saved;
}

}  // namespace

namespace {

// Argument count seen by the stand-in that ran, plus 1000 (-1 when none ran).
int g_calledArgs = -1;

class MacroInline : public Macro {
 protected:
  void TearDown() override {
    for (auto& [sym, fn] : saved_) sym->fn = fn;
    Macro::TearDown();
  }
  // Makes `name` a candidate of reached(); its function is restored after the test.
  void record(const std::string& name) {
    Symbol* s = getSymbol(name);
    saved_.emplace_back(s, s->fn);
    recorders()[s] = name;
    s->fn = [](Args) { return Value(); };
  }
  static std::map<Symbol*, std::string>& recorders() {
    static std::map<Symbol*, std::string> m;
    return m;
  }
  // Compiles and runs NAME(1, 2, ...) with n arguments and answers the symbol that ran.
  std::string reached(const std::string& name, int n) {
    std::string text = name + "(";
    for (int i = 0; i < n; ++i) text += (i ? ", " : "") + std::to_string(i + 1);
    text += ")";
    CompileResult r = compileExpression(text);
    EXPECT_EQ(r.status, 0) << text;
    g_calledArgs = -1;
    // Find who ran by swapping in the recorder of each candidate in turn.
    for (auto& [sym, recName] : recorders()) {
      NativeFn keep = sym->fn;
      sym->fn = [](Args a) {
        g_calledArgs = 1000 + static_cast<int>(a.size());
        return Value();
      };
      EVAL(r.block);
      sym->fn = keep;
      if (g_calledArgs >= 1000) {
        EXPECT_EQ(g_calledArgs - 1000, n) << text;
        return recName;
      }
    }
    return "?";
  }
  std::vector<std::pair<Symbol*, NativeFn>> saved_;
};

TEST_F(MacroInline, EveryInlineFunctionWithRightAndWrongCounts) {
  // Name, fewest and most arguments of each inline function.
  const struct {
    const char* name;
    int lo, hi;
  } table[] = {
      {"AADD", 2, 2},    {"ABS", 1, 1},       {"ASC", 1, 1},     {"AT", 2, 2},
      {"BOF", 0, 0},     {"CDOW", 1, 1},      {"CHR", 1, 1},     {"CMONTH", 1, 1},
      {"COL", 0, 0},     {"CTOD", 1, 1},      {"DATE", 0, 0},    {"DAY", 1, 1},
      {"DELETED", 0, 0}, {"DEVPOS", 2, 2},    {"DOW", 1, 1},     {"DTOC", 1, 1},
      {"DTOS", 1, 1},    {"EMPTY", 1, 1},     {"EOF", 0, 0},     {"EXP", 1, 1},
      {"FCOUNT", 0, 0},  {"FIELDNAME", 1, 1}, {"FLOCK", 0, 0},   {"FOUND", 0, 0},
      {"INKEY", 0, 1},   {"INT", 1, 1},       {"LASTREC", 0, 0}, {"RECCOUNT", 0, 0},
      {"LEFT", 2, 2},    {"LEN", 1, 1},       {"LOG", 1, 1},     {"LOWER", 1, 1},
      {"LTRIM", 1, 1},   {"MAX", 2, 2},       {"MIN", 2, 2},     {"MONTH", 1, 1},
      {"PCOL", 0, 0},    {"PROW", 0, 0},      {"QSELF", 0, 0},   {"QSUPER", 0, 0},
      {"RECNO", 0, 0},   {"REPLICATE", 2, 2}, {"RLOCK", 0, 0},   {"ROUND", 2, 2},
      {"ROW", 0, 0},     {"RTRIM", 1, 1},     {"TRIM", 1, 1},    {"SECONDS", 0, 0},
      {"SELECT", 0, 1},  {"SETPOS", 2, 2},    {"SPACE", 1, 1},   {"SQRT", 1, 1},
      {"STR", 1, 3},     {"SUBSTR", 2, 3},    {"TIME", 0, 0},    {"TRANSFORM", 2, 2},
      {"TYPE", 1, 1},    {"UPPER", 1, 1},     {"VAL", 1, 1},     {"VALTYPE", 1, 1},
      {"WORD", 1, 1},    {"YEAR", 1, 1},
  };
  for (const auto& f : table) {
    std::string name = f.name;
    std::string abbr = name.size() >= 5 ? name.substr(0, 4) : name;
    record(name);
    if (abbr != name) record(abbr);
    for (int n = f.lo; n <= f.hi; ++n) {
      EXPECT_EQ(reached(name, n), name) << name << " with " << n;
      EXPECT_EQ(reached(abbr, n), name) << abbr << " with " << n;
    }
    // One argument too many: an ordinary call of the name as written.
    EXPECT_EQ(reached(abbr, f.hi + 1), abbr) << abbr << " with " << f.hi + 1;
    EXPECT_EQ(reached(name, f.hi + 1), name);
    if (f.lo > 0 && abbr != name) {
      EXPECT_EQ(reached(abbr, f.lo - 1), abbr);
    }
    recorders().clear();
  }
}

TEST_F(MacroInline, SpecialInlineFormsNeedTheirCounts) {
  record("IIF");
  record("EVAL");
  record("PCOU");
  // IIF with two arguments and EVAL without a block are ordinary calls.
  EXPECT_EQ(reached("IIF", 2), "IIF");
  EXPECT_EQ(reached("EVAL", 0), "EVAL");
  EXPECT_EQ(reached("PCOU", 1), "PCOU");
  EXPECT_EQ(show(run("Eval({|| PCou()}, 1, 2)")), "N:2");
  recorders().clear();
}

}  // namespace

namespace {

// Errors raised by compiled expressions, answered by a handler of the test.
class MacroErrors : public MacroFields {
 protected:
  void SetUp() override {
    MacroFields::SetUp();
    resetErrorSystem();
  }
  void TearDown() override {
    resetErrorSystem();
    MacroFields::TearDown();
  }
  // Installs a handler that records each error's codes and answers `answer(error)`.
  void handle(std::function<Value(const Value&)> answer) {
    ERRORBLOCK(makeBlock(
        [this, answer](Args args) {
          Value e = arg(args, 0);
          seen.push_back(std::to_string(send(e, "GENCODE").asInt()) + "/" +
                         std::to_string(send(e, "SUBCODE").asInt()) + " " +
                         send(e, "OPERATION").toStdString() + " tries " +
                         std::to_string(send(e, "TRIES").asInt()));
          return answer(e);
        },
        1));
  }
  std::vector<std::string> seen;
};

TEST_F(MacroErrors, MissingVariableIsRetriedUntilItExists) {
  CompileResult r = compileBlock(Value("Ime + '!'"));
  ASSERT_EQ(r.status, 0);
  handle([](const Value& e) {
    if (send(e, "TRIES").asInt() == 1) PUBLIC("IME", Value("Ana"));
    return Value(true);  // retry
  });
  EXPECT_EQ(show(EVAL(r.block)), "C:Ana!");
  EXPECT_EQ(seen, (std::vector<std::string>{"14/1003 IME tries 0", "14/1003 IME tries 1"}));
}

TEST_F(MacroErrors, FieldOnlyNamesAndUnknownAliases) {
  PUBLIC("IME", Value("Ana"));
  handle([this](const Value& e) {
    // Second time round the field exists.
    if (send(e, "GENCODE").asInt() == 14) areas.fields[1]["IME"] = Value("Field");
    if (send(e, "GENCODE").asInt() == 15) areas.aliases["NEMA"] = 2;
    return Value(true);
  });
  EXPECT_EQ(show(run("FIELD->Ime")), "C:Field");
  EXPECT_EQ(show(run("Nema->Naziv")), "C:Nokia");
  EXPECT_EQ(areas.current, 1);
  EXPECT_EQ(seen, (std::vector<std::string>{"14/1003 IME tries 0", "15/1002 NEMA tries 0"}));
}

TEST_F(MacroErrors, SubstitutesBecomeResults) {
  handle([](const Value&) { return Value(0); });
  EXPECT_EQ(show(run("10 / 0")), "N:0");
  EXPECT_EQ(show(run("10 % 0")), "N:0");
  EXPECT_EQ(show(run("NemaTakveFunkcije(1) + 5")), "N:5");
  EXPECT_EQ(show(run("'a' + 1")), "N:0");
  EXPECT_EQ(show(run("{1}[5]")), "N:0");
  EXPECT_EQ(show(run("1 < 'a'")), "N:0");
  EXPECT_EQ(show(run("Eval(5)")), "N:0");
  EXPECT_EQ(seen, (std::vector<std::string>{"5/1340 / tries 0", "5/1341 % tries 0",
                                            "12/1001 NEMATAKVEFUNKCIJE tries 0", "1/1081 + tries 0",
                                            "2/1132 array access tries 0", "1/1073 < tries 0",
                                            "13/1004 EVAL tries 0"}));
}

TEST_F(MacroErrors, AnErrorUnwindsTheAliasSelection) {
  handle([](const Value&) -> Value { throw BreakException{Value("abandoned")}; });
  EXPECT_THROW(run("ProizTel->(Naziv + 1)"), BreakException);
  EXPECT_EQ(areas.current, 1);
}

TEST_F(MacroErrors, MessagesToObjects) {
  ClassDef* cls = defineClass("TTESTNALOG");
  addInstanceVar(cls, "BROJ", Value(7));
  addMethod(cls, "DVAPUTA", [](const Value& self, Args a) {
    return Value(send(self, "BROJ").asInt() * arg(a, 0).asInt());
  });
  PUBLIC("O", newObject(cls));
  EXPECT_EQ(show(run("o:Broj")), "N:7");
  EXPECT_EQ(show(run("o:Broj := 21, o:Broj")), "N:21");
  EXPECT_EQ(show(run("o:Broj++, o:DvaPuta(2)")), "N:44");
  EXPECT_EQ(show(run("{|x| x + 1}:Eval(1)")), "N:2");
  handle([](const Value&) { return Value("s"); });
  EXPECT_EQ(show(run("o:NemaGa")), "C:s");
  EXPECT_EQ(seen.size(), 1u);
}

}  // namespace
