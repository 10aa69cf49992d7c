#include "runtime/lib/mathfn.h"

#include <gtest/gtest.h>

#include "runtime/format/numfmt.h"
#include "support/error_expect.h"

using namespace kv;

TEST(Math, Rounding) {
  struct Case {
    double in;
    int dec;
    double out;
  } cases[] = {
      {2.5, 0, 3},
      {-2.5, 0, -3},
      {1.005, 2, 1.01},
      {2.675, 2, 2.68},
      {-0.4, 0, 0},
      {1234.5, -2, 1200},
      {1250, -2, 1300},
      {-1250, -2, -1300},
      {9.995, 2, 10.0},
      {0.0, 3, 0.0},
      {1e20, 2, 1e20},
      {123.456, 1, 123.5},
      // Decimals far below zero (a typed -8^350 arrives as the least int): all round to 0.
      {12, -400, 0},
      {-12, -2147483647 - 1, 0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(ROUND(Value(c.in), Value(c.dec)).asDouble(), c.out) << c.in << "," << c.dec;
  }
  EXPECT_EQ(ROUND(Value(1.25), Value(1)).decimals(), 1);
  EXPECT_EQ(STR(ROUND(Value(2.0 / 3.0), Value(2))).str(), "         0.67");
  EXPECT_TRUE(ROUND(Value(7), Value(2)).isInteger());
}

TEST(Math, WholePartsAndMagnitudes) {
  EXPECT_EQ(INT(Value(3.9)).asInt(), 3);
  EXPECT_EQ(INT(Value(-3.9)).asInt(), -3);
  EXPECT_TRUE(INT(Value(-3.9)).isInteger());
  EXPECT_DOUBLE_EQ(INT(Value(1e12 + 0.5)).asDouble(), 1e12);
  EXPECT_EQ(ABS(Value(-5)).asInt(), 5);
  EXPECT_DOUBLE_EQ(ABS(Value(-2.5)).asDouble(), 2.5);
  const Value kept = ABS(Value::number(-2.5, 6, 2));
  EXPECT_EQ(kept.width(), 6);
  EXPECT_EQ(kept.decimals(), 2);
  EXPECT_DOUBLE_EQ(ABS(Value(-2147483647 - 1)).asDouble(), 2147483648.0);
}

TEST(Math, MinMax) {
  EXPECT_EQ(MIN(Value(3), Value(2.5)).asDouble(), 2.5);
  EXPECT_EQ(MAX(Value(3), Value(2.5)).asDouble(), 3);
  EXPECT_EQ(MIN(Value(-1), Value(-1.0)).isInteger(), true);  // the first on a tie
  EXPECT_EQ(MIN(Value::date(10), Value::date(5)).julian(), 5);
  EXPECT_EQ(MAX(Value::date(10), Value::date(5)).julian(), 10);
}

TEST(Math, WrongKindsRaiseArgumentErrors) {
  EXPECT_TRUE(test::raisesArgError("ROUND", 1094, [] { return ROUND(Value("1"), Value(0)); }));
  EXPECT_TRUE(test::raisesArgError("INT", 1090, [] { return INT(Value()); }));
  EXPECT_TRUE(test::raisesArgError("ABS", 1089, [] { return ABS(Value::date(3)); }));
  EXPECT_TRUE(test::raisesArgError("MIN", 1092, [] { return MIN(Value(1), Value::date(3)); }));
  EXPECT_TRUE(test::raisesArgError("MAX", 1093, [] { return MAX(Value("a"), Value("b")); }));
}
