#include "runtime/value/value.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(Value, TypeLettersAndEmptiness) {
  struct Case {
    Value v;
    const char* type;
    bool empty;
  } cases[] = {
      {Value(), "U", true},           {Value(0), "N", true},
      {Value(5), "N", false},         {Value(0.0), "N", true},
      {Value(-0.0), "N", true},       {Value(0.1), "N", false},
      {Value::date(0), "D", true},    {Value::date(2451545), "D", false},
      {Value(false), "L", true},      {Value(true), "L", false},
      {Value(""), "C", true},         {Value(" \t\r\n"), "C", true},
      {Value(" x "), "C", false},     {Value::memo(""), "M", true},
      {Value::newArray(), "A", true}, {Value::newArray(1), "A", false},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(VALTYPE(c.v), c.type);
    EXPECT_EQ(EMPTY(c.v), c.empty) << c.type;
  }
}

TEST(Value, ArraysAreSharedByReference) {
  Value a = Value::newArray(2);
  Value b = a;
  b.arr()->items[0] = Value("x");
  EXPECT_EQ(a.arr()->items[0].str(), "x");
}

TEST(Value, ReferencesReadThrough) {
  Cell c = newCell(Value(7));
  Value r = Value::reference(c);
  EXPECT_EQ(r.deref().asInt(), 7);
  *c = Value("t");
  EXPECT_STREQ(VALTYPE(r), "C");
}

TEST(Value, StringsHoldNulBytesAndCountMemory) {
  std::int64_t before = memInUse();
  {
    Value s(std::string_view("a\0b", 3));
    EXPECT_EQ(s.str().size(), 3u);
    EXPECT_GT(memInUse(), before);
  }
  EXPECT_EQ(memInUse(), before);
}
