#include "runtime/value/compare.h"

#include <gtest/gtest.h>

#include "runtime/error/error.h"
#include "runtime/lang/lifecycle.h"
#include "runtime/lang/settings.h"
#include "support/testblock.h"

using namespace kv;

namespace {

// Installs a handler that ends the program (QuitRequest), so a raised argument error shows
// up as that exception whatever handler an earlier test left behind.
void installEndingHandler() {
  ERRORBLOCK(test::lambdaBlock([](std::span<Value>) -> Value { throw QuitRequest{}; }));
}

class ExactSetting {
 public:
  explicit ExactSetting(bool on) : old_(SET(kSetExact, Value(on))) {}
  ~ExactSetting() { setSetting(kSetExact, old_); }

 private:
  Value old_;
};

struct Row {
  Value a;
  Value b;
  // Expected results for =, ==, !=, <, <=, >, >= ; 'T', 'F' or 'E' (argument error).
  const char* off;  // exact comparison off
  const char* on;   // exact comparison on
};

constexpr CompareOp kOps[] = {CompareOp::Equal,       CompareOp::ExactEqual, CompareOp::NotEqual,
                              CompareOp::Less,        CompareOp::LessEqual,  CompareOp::Greater,
                              CompareOp::GreaterEqual};

void checkRow(const Row& row, bool exact, const char* expect) {
  ExactSetting s(exact);
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(std::string("op ") + compareOpName(kOps[i]) + (exact ? " exact" : " loose") +
                 " row " + VALTYPE(row.a) + VALTYPE(row.b) + " '" + row.a.toStdString() + "' '" +
                 row.b.toStdString() + "'");
    if (expect[i] == 'E') {
      EXPECT_THROW(compareValues(kOps[i], row.a, row.b), QuitRequest);
    } else {
      Value r = compareValues(kOps[i], row.a, row.b);
      ASSERT_TRUE(r.isLogical());
      EXPECT_EQ(r.asBool(), expect[i] == 'T');
    }
  }
}

}  // namespace

TEST(Compare, TruthTable) {
  installEndingHandler();
  Value arr = Value::newArray(1);
  Value blk = test::lambdaBlock([](std::span<Value>) { return Value(); });
  const Row rows[] = {
      //                               = == != <  <= >  >=
      {Value(), Value(), /*       */ "TTFEEEE", "TTFEEEE"},
      {Value(), Value(1), /*      */ "FFTEEEE", "FFTEEEE"},
      {Value("x"), Value(), /*    */ "FFTEEEE", "FFTEEEE"},
      {Value(2), Value(2.0), /*   */ "TTFFTFT", "TTFFTFT"},
      {Value(1), Value(1.5), /*   */ "FFTTTFF", "FFTTTFF"},
      {Value(-3.5), Value(-4), /* */ "FFTFFTT", "FFTFFTT"},
      {Value::date(2451545), Value::date(2451546), "FFTTTFF", "FFTTTFF"},
      {Value(false), Value(true), "FFTTTFF", "FFTTTFF"},
      {Value(true), Value(true), "TTFFTFT", "TTFFTFT"},
      // A longer left string equals its own beginning unless comparison is exact.
      {Value("Petrovic"), Value("Petr"), "TFFFTFT", "FFTFFTT"},
      {Value("Petr"), Value("Petrovic"), "FFTTTFF", "FFTTTFF"},
      {Value("abc"), Value(""), /**/ "TFFFTFT", "FFTFFTT"},
      {Value(""), Value("abc"), /**/ "FFTTTFF", "FFTTTFF"},
      {Value("abc"), Value("abc"), "TTFFTFT", "TTFFTFT"},
      // Trailing blanks count; bytes are unsigned, no case folding.
      {Value("ab "), Value("ab"), "TFFFTFT", "FFTFFTT"},
      {Value("ab"), Value("ab "), "FFTTTFF", "FFTTTFF"},
      {Value("\xC8"), Value("Z"), "FFTFFTT", "FFTFFTT"},
      {Value("a"), Value("B"), /* */ "FFTFFTT", "FFTFFTT"},
      {Value::memo("abc"), Value("ab"), "TFFFTFT", "FFTFFTT"},
      // Arrays and blocks are equal only to themselves and have no order.
      {arr, arr, /*               */ "TTFEEEE", "TTFEEEE"},
      {arr, Value::newArray(1), /**/ "FFTEEEE", "FFTEEEE"},
      {blk, blk, /*               */ "TTFEEEE", "TTFEEEE"},
      // Any other mix of kinds raises for every operator.
      {Value(1), Value("1"), /*   */ "EEEEEEE", "EEEEEEE"},
      {Value::date(1), Value(1), /**/ "EEEEEEE", "EEEEEEE"},
      {Value(true), Value(1), /*  */ "EEEEEEE", "EEEEEEE"},
      {arr, Value("a"), /*        */ "EEEEEEE", "EEEEEEE"},
  };
  for (const Row& row : rows) {
    checkRow(row, false, row.off);
    checkRow(row, true, row.on);
  }
  resetErrorSystem();
}

TEST(Compare, ReferencesAreReadThrough) {
  Cell c = newCell(Value("Petrovic"));
  EXPECT_TRUE(valuesEqual(Value::reference(c), Value("Petr")));
  EXPECT_FALSE(valuesExactlyEqual(Value::reference(c), Value("Petr")));
}

TEST(Compare, ThreeWayOrderFollowsTheSetting) {
  EXPECT_LT(compareForOrder(Value("Ana"), Value("Anabela")), 0);
  EXPECT_EQ(compareForOrder(Value("Anabela"), Value("Ana")), 0);
  {
    ExactSetting s(true);
    EXPECT_GT(compareForOrder(Value("Anabela"), Value("Ana")), 0);
  }
  EXPECT_GT(compareForOrder(Value(2), Value(1.5)), 0);
}
