// The functions that key and filter texts may call inline, called by name through the
// expression compiler: what they answer for arguments of the right kinds, and the argument
// error they raise for wrong ones.
#include <gtest/gtest.h>

#include <string>

#include "platform/clock.h"
#include "runtime/format/dates.h"
#include "runtime/format/numfmt.h"
#include "runtime/lang/functions.h"
#include "runtime/lang/memvars.h"
#include "runtime/lang/settings.h"
#include "runtime/macro/macro.h"
#include "support/error_expect.h"

using namespace kv;

namespace {

class InlineFunctions : public ::testing::Test {
 protected:
  void SetUp() override {
    registerRuntimeFunctions();
    resetSettings();
    resetErrorSystem();
  }
  void TearDown() override {
    releaseAllMemvars();
    resetErrorSystem();
    resetSettings();
  }

  static Value run(const std::string& text) {
    CompileResult r = compileExpression(text);
    EXPECT_EQ(r.status, 0) << text << ": " << r.message;
    return r.status == 0 ? EVAL(r.block) : Value();
  }

  // The type letter and the displayed form: numbers as STR shows them (so their display
  // width and decimals count), dates in the stored form.
  static std::string shown(const Value& value) {
    const Value& v = value.deref();
    std::string s = std::string(VALTYPE(v)) + ":";
    if (v.isNumber()) return s + STR(v).toStdString();
    if (v.isString()) return s + v.toStdString();
    if (v.isDate()) return s + dateToStored(v.julian());
    if (v.isLogical()) return s + (v.asBool() ? "T" : "F");
    return s;
  }
};

TEST_F(InlineFunctions, AnswersForArgumentsOfTheRightKinds) {
  const std::string stars(23, '*');  // an infinite number in its default width (20 + 3)
  const struct {
    const char* text;
    std::string result;
  } cases[] = {
      // national month and weekday names; the empty date has none
      {"CMONTH(STOD('20250101'))", "C:Enero"},
      {"CMONTH(STOD('20251231'))", "C:Diciembre"},
      {"CMON(CTOD(''))", "C:"},
      {"CDOW(STOD('20250105'))", "C:Domingo"},
      {"CDOW(STOD('20250101'))", "C:Mi\xE9rcoles"},
      {"CDOW(STOD('20250104'))",
       "C:S\xE1"
       "bado"},
      {"CDOW(STOD(''))", "C:"},
      // computed numbers show the decimals of setting 3, in the default width
      {"SQRT(16)", "N:         4.00"},
      {"SQRT(2)", "N:         1.41"},
      {"SQRT(-4)", "N:         0.00"},
      {"SET(3, 4), SQRT(2)", "N:         1.4142"},  // more decimals, same rule
      {"EXP(1)", "N:         2.72"},
      {"EXP(1000)", "N:" + stars},
      {"LOG(EXP(2))", "N:         2.00"},
      {"LOG(0)", "N:" + stars},  // numeric overflow
      {"LOG(-1)", "N:" + stars},
      // seconds since midnight, with hundredths
      {"SUBSTR(STR(SECONDS()), 11, 1)", "C:."},
      // no terminal: positions are 0, moves do nothing, no key waits
      {"ROW()", "N:         0"},
      {"COL()", "N:         0"},
      {"PROW()", "N:         0"},
      {"PCOL()", "N:         0"},
      {"SETPOS(3, 4)", "U:"},
      {"DEVPOS(3, 4.5)", "U:"},
      {"INKEY()", "N:         0"},
      {"INKEY(3600)", "N:         0"},
      // WORD answers its argument
      {"WORD(5)", "N:         5"},
      {"WORD('x')", "C:x"},
      // outside every method
      {"QSELF()", "U:"},
      {"QSUPER()", "U:"},
      // the type letter of an expression text, never an error
      {"TYPE('1 + 2')", "C:N"},
      {"TYPE('\"a\" + \"b\"')", "C:C"},
      {"TYPE('DATE()')", "C:D"},
      {"TYPE('{1}')", "C:A"},
      {"TYPE('{|| 1}')", "C:B"},
      {"TYPE('nosuchname')", "C:U"},
      {"TYPE('NOALIAS->NAZIV')", "C:U"},
      {"TYPE('1 +')", "C:UE"},
      {"TYPE('&(\"1 +\")')", "C:UE"},  // a macro text that does not compile
      {"TYPE('1 + \"a\"')", "C:UI"},
      {"TYPE('NOSUCHFUNCTION()')", "C:UI"},
      {"TYPE('BREAK(1)')", "C:UI"},
      {"TYPE('n := 4'), n * 2", "N:         8"},  // the evaluation keeps its effects
  };
  for (const auto& c : cases) {
    resetSettings();
    EXPECT_EQ(shown(run(c.text)), c.result) << c.text;
  }
}

TEST_F(InlineFunctions, WrongKindsRaiseTheArgumentError) {
  const struct {
    const char* text;
    const char* operation;
    int subCode;
  } cases[] = {
      {"CMONTH(5)", "CMONTH", 1116},      {"CDOW(NIL)", "CDOW", 1117},
      {"SQRT('4')", "SQRT", 1097},        {"LOG(.F.)", "LOG", 1095},
      {"EXP(DATE())", "EXP", 1096},       {"SETPOS('1', 2)", "SETPOS", 2031},
      {"SETPOS(1, NIL)", "SETPOS", 2031}, {"DEVPOS(1, '2')", "DEVPOS", 2032},
      {"INKEY('1')", "INKEY", 2030},      {"TYPE(5)", "TYPE", 1121},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(test::raisesArgError(c.operation, c.subCode, [&] { return run(c.text); }))
        << c.text;
  }
}

TEST_F(InlineFunctions, SecondsFollowTheClock) {
  const double before = platform::secondsSinceMidnight();
  const Value s = run("SECONDS()");
  const double after = platform::secondsSinceMidnight();
  EXPECT_EQ(s.decimals(), 2);
  if (after >= before) {  // not across midnight
    EXPECT_GE(s.asDouble(), before);
    EXPECT_LE(s.asDouble(), after);
  }
}

// TYPE keeps the program's handler: the error of the expression never reaches it, and it is
// back in place afterwards (no handler stays no handler).
TEST_F(InlineFunctions, TypeLeavesTheHandlerInPlace) {
  int reached = 0;
  const Value handler = makeBlock(
      [&reached](Args) {
        ++reached;
        return Value(0);
      },
      1);
  ERRORBLOCK(handler);
  EXPECT_EQ(run("TYPE('1 + \"a\"') + TYPE('nosuch') + TYPE('BREAK()')").str(), "UIUUI");
  EXPECT_EQ(reached, 0);
  EXPECT_EQ(ERRORBLOCK().blk(), handler.blk());
  run("1 + 'a'");
  EXPECT_EQ(reached, 1);

  resetErrorSystem();
  EXPECT_EQ(TYPE(Value("nosuch")).str(), "U");
  EXPECT_TRUE(ERRORBLOCK().isNil());
}

}  // namespace
