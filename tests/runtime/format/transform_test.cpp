#include "runtime/format/transform.h"

#include <gtest/gtest.h>

#include "runtime/format/dates.h"
#include "runtime/lang/settings.h"
#include "support/error_expect.h"

using namespace kv;

namespace {

class Transform : public ::testing::Test {
 protected:
  void SetUp() override { resetSettings(); }
  void TearDown() override { resetSettings(); }
};

struct Case {
  Value v;
  const char* picture;
  const char* out;
};

void check(const Case& c) {
  EXPECT_EQ(TRANSFORM(c.v, Value(c.picture)).str(), c.out)
      << "picture \"" << c.picture << "\" value " << VALTYPE(c.v) << " " << c.v.asDouble();
}

}  // namespace

TEST_F(Transform, PictureParsing) {
  Picture p = parsePicture("@r! (999)");
  EXPECT_EQ(p.functions, "R!");
  EXPECT_EQ(p.templ, "(999)");
  EXPECT_TRUE(p.has('R'));
  p = parsePicture("@S10K");
  EXPECT_EQ(p.functions, "S10K");
  EXPECT_EQ(p.templ, "");
  p = parsePicture("999.99");
  EXPECT_EQ(p.functions, "");
  EXPECT_EQ(p.templ, "999.99");
}

TEST_F(Transform, NumberTemplates) {
  const Case cases[] = {
      {Value(1250), "9999999.99", "   1250.00"},
      {Value(1250.5), "9999999.99", "   1250.50"},
      {Value(-1250.5), "9999999.99", "  -1250.50"},
      {Value(123456), "9999", "****"},
      {Value(12345678), "9999999.99", "**********"},
      {Value(1234.5), "9,999.99", "1,234.50"},
      {Value(34.5), "9,999.99", "   34.50"},
      {Value(-34.5), "9,999.99", "  -34.50"},  // the sign moves next to the digits
      {Value(-1234.5), "99,999.99", "-1,234.50"},
      {Value(1234567), "9,999,999", "1,234,567"},
      {Value(42), "****", "**42"},
      {Value(42), "$$$$", "$$42"},
      {Value(1234), "$,$$$", "1,234"},
      {Value(12), "$,$$$", "$$$12"},
      {Value(7), "<999>", "<  7>"},  // literals are inserted
      {Value(0.5), "9.9", "0.5"},
      {Value(9.96), "99.9", "10.0"},  // rounding carries
      {Value(5), "999.", "  5."},
  };
  for (const auto& c : cases) check(c);
}

TEST_F(Transform, NumberFunctions) {
  const Case cases[] = {
      {Value(-12.5), "@( 9999.99", "(  12.50)"},
      {Value(-12.5), "@) 9999.99", " (12.50)"},
      {Value(12.5), "@( 9999.99", "  12.50"},
      {Value(-1234.5), "@) 9999.99", "(1234.50)"},
      {Value(42), "@B 99999", "42   "},
      {Value(42), "@C 99999", "   42 CR"},
      {Value(-42), "@C 99999", "  -42"},
      {Value(-42), "@X 99999", "  -42 DB"},
      {Value(42), "@X 99999", "   42"},
      {Value(0), "@Z 99999", "     "},
      {Value(0.0), "@Z 99.99", "     "},
      {Value(1234.5), "@E 9,999.99", "1.234,50"},
      {Value(-42), "@BX 99999", "-42   DB"},
      {Value(-42), "@(B 999", "( 42)"},
      {Value(-1234.5), "@E) 99,999.99", "(1.234,50)"},
      {Value(42), "@S5K 999", " 42"},               // accepted, no effect
      {Value::number(12.5, 6, 2), "@Z", " 12.50"},  // own layout without a template
      {Value::number(12.5, 6, 2), "@E", " 12,50"},
      {Value(42), "", "        42"},
  };
  for (const auto& c : cases) check(c);
}

TEST_F(Transform, CharacterValues) {
  const Case cases[] = {
      {Value("abc"), "@!", "ABC"},
      {Value("abc"), "", "abc"},
      {Value("abcdef"), "XXX", "abc"},  // cut to the template
      {Value("ab"), "XXXX", "ab  "},
      {Value("abc"), "!XX", "Abc"},
      {Value("abcdef"), "XX-XX", "ab-de"},     // literals overlay
      {Value("abcdef"), "@R XX-XX", "ab-cd"},  // literals inserted
      {Value("0641234567"), "@R (999) 999-9999", "(064) 123-4567"},
      {Value("abcd"), "@R! XX/XX", "AB/CD"},
      {Value("\xE8"
             "abc"),
       "@!",
       "\xC8"
       "ABC"},  // national upper case
      {Value("ab"), "@R 9#", "ab"},
  };
  for (const auto& c : cases) check(c);
}

TEST_F(Transform, DatesAndLogicals) {
  const Value d = Value::date(julianFromCalendar(13, 2, 2013));
  EXPECT_EQ(TRANSFORM(d, Value("")).str(), "02/13/13");
  EXPECT_EQ(TRANSFORM(d, Value("@D")).str(), "02/13/13");
  EXPECT_EQ(TRANSFORM(d, Value("@E")).str(), "13/02/13");
  setSetting(kSetDateFormat, Value("DD.MM.YYYY"));
  EXPECT_EQ(TRANSFORM(d, Value("@D")).str(), "13.02.2013");
  EXPECT_EQ(TRANSFORM(d, Value("@E")).str(), "02.13.2013");
  EXPECT_EQ(TRANSFORM(Value::date(0), Value("")).str(), "  .  .    ");
  const Case cases[] = {
      {Value(true), "", "T"},   {Value(false), "", "F"},     {Value(true), "Y", "Y"},
      {Value(false), "Y", "N"}, {Value(true), "[L]", "[T]"}, {Value(false), "LL", "F "},
  };
  for (const auto& c : cases) check(c);
}

TEST_F(Transform, WrongKindsRaiseArgumentErrors) {
  EXPECT_TRUE(
      test::raisesArgError("TRANSFORM", 1122, [] { return TRANSFORM(Value(), Value("999")); }));
  EXPECT_TRUE(test::raisesArgError("TRANSFORM", 1122,
                                   [] { return TRANSFORM(Value::newArray(1), Value("")); }));
  EXPECT_TRUE(
      test::raisesArgError("TRANSFORM", 1122, [] { return TRANSFORM(Value(1), Value(2)); }));
}
