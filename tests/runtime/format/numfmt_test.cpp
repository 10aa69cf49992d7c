#include "runtime/format/numfmt.h"

#include <gtest/gtest.h>

#include <cmath>

#include "runtime/lang/settings.h"
#include "support/error_expect.h"

using namespace kv;

namespace {

class Numbers : public ::testing::Test {
 protected:
  void SetUp() override { resetSettings(); }
  void TearDown() override { resetSettings(); }
};

// STR with width and decimals as given (nil = absent).
struct StrCase {
  Value n;
  Value width;
  Value dec;
  const char* text;
};

}  // namespace

TEST_F(Numbers, StrWithWidthAndDecimals) {
  const StrCase cases[] = {
      {Value(-0.4), Value(5), Value(1), " -0.4"},
      {Value(-0.4), Value(5), Value(0), "    0"},
      {Value(-0.5), Value(5), Value(0), "   -1"},
      {Value(0.5), Value(5), Value(0), "    1"},
      {Value(2.5), Value(3), Value(), "  3"},
      {Value(-2.5), Value(3), Value(), " -3"},
      {Value(123456), Value(5), Value(), "*****"},
      {Value(12345), Value(5), Value(), "12345"},
      {Value(-12345), Value(5), Value(), "*****"},
      {Value(9.995), Value(6), Value(2), " 10.00"},  // carry into the whole part
      {Value(99.995), Value(5), Value(2), "*****"},  // the carry overflows
      {Value(1.005), Value(5), Value(2), " 1.01"},   // rounds as written, not as stored
      {Value(2.675), Value(5), Value(2), " 2.68"},
      {Value(-1.005), Value(6), Value(2), " -1.01"},
      {Value(1250), Value(10), Value(2), "   1250.00"},
      {Value(42), Value(0), Value(), "        42"},  // width 0 means 10
      {Value(42), Value(-3), Value(), "        42"},
      {Value(3.14159), Value(8), Value(-2), "       3"},  // negative decimals mean 0
      {Value(0.1234), Value(5), Value(4), ".1234"},       // the 0 gives way
      {Value(-0.1234), Value(6), Value(4), "-.1234"},
      {Value(0.1234), Value(4), Value(4), ".123"},  // decimals cut to width - 1
      {Value(-0.04), Value(5), Value(1), " -0.0"},
      {Value(0.0), Value(4), Value(1), " 0.0"},
      {Value(5), Value(6), Value(2), "  5.00"},
      {Value(-2147483647 - 1), Value(11), Value(), "-2147483648"},
      {Value(1e15), Value(16), Value(), "1000000000000000"},
      {Value(1e300), Value(10), Value(), "**********"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(STR(c.n, c.width, c.dec).str(), c.text)
        << c.n.asDouble() << " w=" << c.width.asInt() << " d=" << c.dec.asInt();
  }
}

TEST_F(Numbers, StrDefaultLayout) {
  const StrCase cases[] = {
      {Value(42), Value(), Value(), "        42"},
      {Value(0), Value(), Value(), "         0"},
      {Value(-42), Value(), Value(), "       -42"},
      {Value(999999999), Value(), Value(), " 999999999"},
      {Value(1000000000), Value(), Value(), "          1000000000"},
      {Value(-999999999), Value(), Value(), "-999999999"},
      {Value(1.5), Value(), Value(), "         2"},  // no decimals of its own
      {Value::number(1.5, 0, 1), Value(), Value(), "         1.5"},
      {Value::number(-1.25, 0, 2), Value(), Value(), "        -1.25"},
      {Value::number(12.5, 6, 2), Value(), Value(), " 12.50"},  // its own layout
      {Value::integer(7, 3), Value(), Value(), "  7"},
      {Value(-12345678901.0), Value(), Value(), "        -12345678901"},
      {Value(-1e19), Value(), Value(), "-10000000000000000000"},  // one more for the sign
  };
  for (const auto& c : cases) EXPECT_EQ(STR(c.n).str(), c.text) << c.n.asDouble();
}

TEST_F(Numbers, FixedDecimals) {
  setSetting(kSetFixed, Value(true));
  setSetting(kSetDecimals, Value(3));
  EXPECT_EQ(STR(Value(1.5)).str(), "         1.500");  // 10 + decimals + point
  EXPECT_EQ(STR(Value(2)).str(), "         2.000");
  EXPECT_EQ(STR(Value::number(1.5, 6, 1)).str(), "   1.5");  // a width of its own stays
  EXPECT_EQ(STR(Value(1.5), Value(4)).str(), "   2");
}

TEST_F(Numbers, StrZero) {
  const StrCase cases[] = {
      {Value(42), Value(6), Value(), "000042"}, {Value(-42), Value(6), Value(), "-00042"},
      {Value(123), Value(2), Value(), "**"},    {Value(-1.5), Value(7), Value(2), "-001.50"},
      {Value(57), Value(5), Value(), "00057"},  {Value(12345), Value(5), Value(), "12345"},
      {Value(0), Value(3), Value(), "000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(STRZERO(c.n, c.width, c.dec).str(), c.text) << c.n.asDouble();
  }
}

TEST_F(Numbers, Val) {
  struct Case {
    const char* text;
    double value;
    int width;
    int dec;
    bool integer;
  } cases[] = {
      {"12.50 ", 12.5, 6, 3, false},  // blanks after the point count as decimals
      {"+5", 0, 10, 0, true},         // "+" is not a sign
      {"  -17", -17, 10, 0, true},
      {"\t42abc", 42, 10, 0, true},
      {"00057", 57, 10, 0, true},
      {"", 0, 10, 0, true},
      {"abc", 0, 10, 0, true},
      {"-", 0, 10, 0, true},
      {".5", 0.5, 2, 1, false},
      {"1.2.3", 1.2, 5, 3, false},
      {"1 2", 1, 10, 0, true},
      {"123456789012", 123456789012.0, 12, 0, false},
      {"   1250.00", 1250, 10, 2, false},
  };
  for (const auto& c : cases) {
    const Value v = VAL(Value(c.text));
    EXPECT_DOUBLE_EQ(v.asDouble(), c.value) << c.text;
    EXPECT_EQ(v.width(), c.width) << c.text;
    EXPECT_EQ(v.decimals(), c.dec) << c.text;
    EXPECT_EQ(v.isInteger(), c.integer) << c.text;
  }
  EXPECT_GT(VAL(Value(std::string(63, '1'))).asDouble(), 1e62);
  EXPECT_EQ(VAL(Value(std::string(64, '1'))).asDouble(), 0.0);
  EXPECT_FALSE(std::signbit(VAL(Value("-0")).asDouble()));
}

TEST_F(Numbers, ValThenStrKeepsTheLayout) {
  EXPECT_EQ(STR(VAL(Value("  12.50"))).str(), "  12.50");
  EXPECT_EQ(STR(VAL(Value("00057"))).str(), "        57");
}

TEST_F(Numbers, EngineHelpers) {
  EXPECT_EQ(formatNumber(3.14159, 8, 3), "   3.142");
  EXPECT_EQ(formatInteger(-7, 4, 1), "-7.0");
  EXPECT_EQ(formatNumber(1.0, 100, 0).size(), static_cast<std::size_t>(kMaxNumberWidth));
  int dec = -1;
  EXPECT_DOUBLE_EQ(parseNumber("  3.25", dec), 3.25);
  EXPECT_EQ(dec, 2);
}

TEST_F(Numbers, WrongKindsRaiseArgumentErrors) {
  EXPECT_TRUE(test::raisesArgError("STR", 1099, [] { return STR(Value("12")); }));
  EXPECT_TRUE(test::raisesArgError("STR", 1099, [] { return STR(Value(1), Value("5")); }));
  EXPECT_TRUE(test::raisesArgError("STRZERO", 1099, [] { return STRZERO(Value()); }));
  EXPECT_TRUE(test::raisesArgError("VAL", 1098, [] { return VAL(Value(12)); }));
}
