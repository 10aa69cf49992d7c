#include "runtime/lib/strings.h"

#include <gtest/gtest.h>

#include <limits>

#include "runtime/lang/settings.h"
#include "runtime/lib/arrays.h"
#include "support/error_expect.h"

using namespace kv;

TEST(Strings, NationalCaseTables) {
  for (int c = 0; c < 256; ++c) {
    int up = c;
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xEF) || (c >= 0xF1 && c <= 0xF6) ||
        (c >= 0xF8 && c <= 0xFE)) {
      up = c - 0x20;
    }
    EXPECT_EQ(upperByte(static_cast<unsigned char>(c)), up) << c;
    int low = c;
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xCF) || (c >= 0xD1 && c <= 0xD6) ||
        (c >= 0xD8 && c <= 0xDE)) {
      low = c + 0x20;
    }
    EXPECT_EQ(lowerByte(static_cast<unsigned char>(c)), low) << c;
  }
  // Windows-1250: "čćđ" <-> "ČĆĐ"; 0xF0 and 0xD0 stay as they are.
  EXPECT_EQ(UPPER(Value("\xE8\xE6\xF0x")).str(), "\xC8\xC6\xF0X");
  EXPECT_EQ(LOWER(Value("\xC8\xC6\xD0X")).str(), "\xE8\xE6\xD0x");
  EXPECT_EQ(UPPER(Value(std::string_view("a\0b", 3))).str(), std::string_view("A\0B", 3));
}

TEST(Strings, Trimming) {
  struct Case {
    const char* in;
    const char* trim;
    const char* ltrim;
    const char* alltrim;
  } cases[] = {
      {"  ab  ", "  ab", "ab  ", "ab"},
      {"", "", "", ""},
      {"    ", "", "", ""},
      {"a b", "a b", "a b", "a b"},
      {"\tx\t", "\tx\t", "\tx\t", "\tx\t"},  // only blanks are trimmed
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TRIM(Value(c.in)).str(), c.trim);
    EXPECT_EQ(RTRIM(Value(c.in)).str(), c.trim);
    EXPECT_EQ(LTRIM(Value(c.in)).str(), c.ltrim);
    EXPECT_EQ(ALLTRIM(Value(c.in)).str(), c.alltrim);
  }
  EXPECT_EQ(TRIM(Value::memo("x ")).str(), "x");
}

TEST(Strings, Padding) {
  resetSettings();
  struct Case {
    Value v;
    int n;
    Value fill;
    const char *right, *left, *center;
  } cases[] = {
      {Value("ab"), 5, Value(), "ab   ", "   ab", " ab  "},
      {Value("abcdef"), 3, Value(), "abc", "def", "abc"},
      {Value("ab"), 6, Value("*-"), "ab****", "****ab", "**ab**"},
      {Value("ab"), 0, Value(), "", "", ""},
      {Value("ab"), -1, Value(), "", "", ""},
      {Value(42), 12, Value(), "        42  ", "          42", "         42 "},
      {Value::date(2456337), 9, Value(), "02/13/13 ", " 02/13/13", "02/13/13 "},
      {Value("ab"), 4, Value(""), "ab  ", "  ab", " ab "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PADR(c.v, Value(c.n), c.fill).str(), c.right);
    EXPECT_EQ(PADL(c.v, Value(c.n), c.fill).str(), c.left);
    EXPECT_EQ(PADC(c.v, Value(c.n), c.fill).str(), c.center);
  }
}

TEST(Strings, Substrings) {
  const Value s("abcdef");
  struct Case {
    Value start, count;
    const char* out;
  } cases[] = {
      {Value(1), Value(), "abcdef"}, {Value(2), Value(3), "bcd"},  {Value(0), Value(2), "ab"},
      {Value(-2), Value(), "ef"},    {Value(-10), Value(2), "ab"}, {Value(6), Value(5), "f"},
      {Value(7), Value(1), ""},      {Value(2), Value(-1), ""},    {Value(2), Value(0), ""},
      {Value(2.9), Value(1), "b"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SUBSTR(s, c.start, c.count).str(), c.out) << c.start.asDouble();
  }
  EXPECT_EQ(LEFT(s, Value(2)).str(), "ab");
  EXPECT_EQ(LEFT(s, Value(10)).str(), "abcdef");
  EXPECT_EQ(LEFT(s, Value(-1)).str(), "");
  EXPECT_EQ(RIGHT(s, Value(2)).str(), "ef");
  EXPECT_EQ(RIGHT(s, Value(10)).str(), "abcdef");
  EXPECT_EQ(RIGHT(s, Value(0)).str(), "");
}

TEST(Strings, Searching) {
  struct Case {
    const char *what, *in;
    int at, rat;
  } cases[] = {
      {"b", "abcabc", 2, 5}, {"abc", "abcabc", 1, 4}, {"x", "abc", 0, 0},
      {"", "abc", 0, 0},     {"abcd", "abc", 0, 0},   {"c", "c", 1, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AT(Value(c.what), Value(c.in)).asInt(), c.at) << c.what << "/" << c.in;
    EXPECT_EQ(RAT(Value(c.what), Value(c.in)).asInt(), c.rat) << c.what << "/" << c.in;
  }
}

TEST(Strings, Replacing) {
  struct Case {
    Value text, search, replace, first, count;
    const char* out;
  } cases[] = {
      {Value("a.b.c"), Value("."), Value(","), Value(), Value(), "a,b,c"},
      {Value("a.b.c"), Value("."), Value(), Value(), Value(), "abc"},
      {Value("a.b.c"), Value("."), Value(","), Value(2), Value(), "a.b,c"},
      {Value("a.b.c.d"), Value("."), Value(","), Value(1), Value(2), "a,b,c.d"},
      {Value("a.b.c"), Value("."), Value(","), Value(1), Value(0), "a.b.c"},
      {Value("aaa"), Value("aa"), Value("b"), Value(), Value(), "ba"},
      {Value("abc"), Value(""), Value("x"), Value(), Value(), "abc"},
      {Value("abc"), Value("abc"), Value("abcabc"), Value(), Value(), "abcabc"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(STRTRAN(c.text, c.search, c.replace, c.first, c.count).str(), c.out);
  }
}

TEST(Strings, BuildingAndCodes) {
  EXPECT_EQ(REPLICATE(Value("ab"), Value(3)).str(), "ababab");
  EXPECT_EQ(REPLICATE(Value("ab"), Value(0)).str(), "");
  EXPECT_EQ(REPLICATE(Value("ab"), Value(-2)).str(), "");
  EXPECT_EQ(SPACE(Value(3)).str(), "   ");
  EXPECT_EQ(SPACE(Value(-3)).str(), "");
  EXPECT_EQ(LEN(Value("abc")).asInt(), 3);
  EXPECT_EQ(LEN(Value("")).asInt(), 0);
  EXPECT_EQ(LEN(Value::newArray(4)).asInt(), 4);
  EXPECT_EQ(CHR(Value(65)).str(), "A");
  EXPECT_EQ(CHR(Value(256 + 66)).str(), "B");
  EXPECT_EQ(CHR(Value(0)).str(), std::string_view("\0", 1));
  EXPECT_EQ(ASC(Value("\xE8x")).asInt(), 0xE8);
  EXPECT_EQ(ASC(Value("")).asInt(), 0);
}

TEST(Strings, WrongKindsAndOverflowRaiseErrors) {
  EXPECT_TRUE(test::raisesArgError("UPPER", 1102, [] { return UPPER(Value(1)); }));
  EXPECT_TRUE(test::raisesArgError("LEN", 1111, [] { return LEN(Value(12)); }));
  EXPECT_TRUE(
      test::raisesArgError("SUBSTR", 1110, [] { return SUBSTR(Value("abc"), Value("1")); }));
  EXPECT_TRUE(test::raisesArgError("AT", 1108, [] { return AT(Value(1), Value("abc")); }));
  EXPECT_TRUE(test::raisesArgError("PADR", 1099, [] { return PADR(Value(), Value(3)); }));
  EXPECT_EQ(test::raise([] { return REPLICATE(Value("ab"), Value(2e9)); }).subCode, 1233);
  EXPECT_EQ(test::raise([] { return SPACE(Value(1e12)); }).subCode, 1233);
}

// Counts and positions far outside any text (a number typed with a hundred digits, an
// infinity): taken at the nearest end, never converted out of range.
TEST(Strings, HugeCountsAndPositions) {
  const Value huge = Value::number(1.1e106, 0, 0);
  const Value tiny = Value::number(-1.1e106, 0, 0);
  const Value inf = Value::number(std::numeric_limits<double>::infinity(), 0, 0);
  EXPECT_EQ(SUBSTR(Value("abc"), huge).str(), "");
  EXPECT_EQ(SUBSTR(Value("abc"), Value(2), huge).str(), "bc");
  EXPECT_EQ(SUBSTR(Value("abc"), tiny).str(), SUBSTR(Value("abc"), Value(-1000)).str());
  EXPECT_EQ(LEFT(Value("abc"), inf).str(), "abc");
  EXPECT_EQ(RIGHT(Value("abc"), huge).str(), "abc");
  EXPECT_EQ(LEFT(Value("abc"), tiny).str(), "");
  EXPECT_EQ(PADR(Value("abc"), tiny).str(), "");
  EXPECT_EQ(CHR(huge).str().size(), 1u);
  EXPECT_EQ(SPACE(tiny).str(), "");
}
