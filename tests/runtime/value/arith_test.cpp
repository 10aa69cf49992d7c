// Date arithmetic with day counts of any size.
#include "runtime/value/arith.h"

#include <gtest/gtest.h>

#include <limits>

using namespace kv;

TEST(DateArithmetic, DayCountsOfAnySize) {
  const Value day = Value::date(2461000);
  struct Case {
    double days;
    std::int32_t plus, minus;  // the julian numbers of day + days and day - days
  } cases[] = {
      {1, 2461001, 2460999}, {2.9, 2461002, 2460998},
      {1e300, 0, 0},  // far past any date: the empty date, not a wrapped-around one
      {-1e300, 0, 0},        {std::numeric_limits<double>::infinity(), 0, 0},
  };
  for (const Case& c : cases) {
    const Value n = Value::number(c.days, 0, 0);
    EXPECT_EQ(opPlus(day, n).julian(), c.plus) << c.days;
    EXPECT_EQ(opPlus(n, day).julian(), c.plus) << c.days;
    EXPECT_EQ(opMinus(day, n).julian(), c.minus) << c.days;
  }
}
