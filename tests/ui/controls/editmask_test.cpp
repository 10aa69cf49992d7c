// Edit masks without windows: which typed characters a picture admits and where they go.
#include <gtest/gtest.h>

#include <string>

#include "runtime/format/dates.h"
#include "runtime/lang/settings.h"
#include "ui/controls/editmask.h"

using namespace kv;
using namespace kv::ui;

namespace {

// Types every character of `keys` ("\b" is Backspace, "\x7f" Delete) and answers the text.
std::string typeKeys(EditMask& m, const std::string& keys) {
  for (char k : keys) {
    if (k == '\b') {
      m.backspace();
    } else if (k == '\x7f') {
      m.deleteChar();
    } else {
      m.typeChar(static_cast<unsigned char>(k));
    }
  }
  return m.text();
}

struct TypingCase {
  const char* name;
  Value value;
  const char* picture;
  int caret;
  const char* keys;
  const char* text;
};

class Typing : public ::testing::TestWithParam<TypingCase> {};

TEST_P(Typing, GivesTheText) {
  const TypingCase& c = GetParam();
  setSetting(kSetDateFormat, Value("dd.mm.yyyy"));
  EditMask m;
  m.setValue(c.value);
  m.setPicture(c.picture);
  m.setCaret(c.caret);
  EXPECT_EQ(typeKeys(m, c.keys), std::string(c.text));
  resetSettings();
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, Typing,
    ::testing::Values(
        TypingCase{"SixDigitsNoLetters", Value(0), "999999", 1, "12a3456789", "123456"},
        TypingCase{"PointMovesToDecimals", Value(0), "9999999.99", 1, "45.678", "45.67"},
        TypingCase{"CommaMovesToDecimalsToo", Value(0), "9999999.99", 1, "7,5", "7.50"},
        TypingCase{"IntegerPartKeepsThePoint", Value(12.5), "9999999.99", 2, "3", "123.50"},
        TypingCase{"IntegerPartIsLimited", Value(0), "999.99", 1, "12345", "123.00"},
        TypingCase{"CommasAreTakenOut", Value(0), "9,999.99", 1, "1234", "1234.00"},
        TypingCase{"SignOnlyWithMinusTemplate", Value(0), "999", 0, "-5", "5"},
        TypingCase{"LoneZeroGivesWay", Value(0), "999", 0, "07", "7"},
        TypingCase{"MinusTemplateAdmitsSign", Value(0), "-999", 0, "-5", "-5"},
        TypingCase{"BackspaceInIntegerPart", Value(123), "999", 3, "\b\b9", "19"},
        TypingCase{"BackspaceInDecimalsPadsZero", Value(1.25), "99.99", 4, "\b", "1.20"},
        TypingCase{"DeleteClosesTheGap", Value(123), "999", 0, "\x7f", "23"},
        TypingCase{"FiftyAnyCharacters", Value(""),
                   "@! XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX", 0,
                   "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa%xyz",
                   "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA%"},
        TypingCase{"LettersOnly", Value(""), "AAAA", 0, "a1b2c", "abc"},
        TypingCase{"LettersAndDigits", Value(""), "NNNN", 0, "a-1 b", "a1b"},
        TypingCase{"UpperCaseTemplate", Value(""), "!!!", 0, "\xe8zx", "\xc8ZX"},
        TypingCase{"HashTakesSigns", Value(""), "###", 0, "+a 1", "+ 1"},
        TypingCase{"LiteralIsPassedOver", Value(""), "99-99", 0, "1234", "12-34"},
        TypingCase{"CharacterOverwrites", Value("abcd"), "XXXX", 1, "Z", "aZcd"},
        TypingCase{"CharacterBackspaceCloses", Value("abcd"), "XXXX", 2, "\b", "acd"},
        TypingCase{"CharacterDeleteBlanks", Value("abcd"), "XXXX", 1, "\x7f", "a cd"},
        TypingCase{"DateSkipsLiterals", Value::date(0), "", 0, "01022026", "01.02.2026"},
        TypingCase{"DateRefusesOtherLiteral", Value::date(0), "", 2, "/x.3", "  .3 .    "},
        TypingCase{"DateBackspaceBlanks", Value::date(julianFromCalendar(3, 4, 2025)), "", 2, "\b",
                   "0 .04.2025"},
        TypingCase{"LogicalStoredUpperCase", Value(false), "L", 0, "xy", "Y"},
        TypingCase{"LogicalYesNoTemplate", Value(false), "Y", 0, "tn", "N"}),
    [](const ::testing::TestParamInfo<TypingCase>& i) { return std::string(i.param.name); });

TEST(EditMask, ValueIsOfTheEditsType) {
  setSetting(kSetDateFormat, Value("dd.mm.yyyy"));
  EditMask m;
  m.setValue(Value(0));
  m.setPicture("9999999.99");
  m.setCaret(1);
  typeKeys(m, "12.5");
  ASSERT_TRUE(m.value().isNumber());
  EXPECT_DOUBLE_EQ(m.value().asDouble(), 12.5);
  EXPECT_EQ(m.value().decimals(), 2);

  m.setValue(Value::date(0));
  m.setPicture("");
  EXPECT_TRUE(m.value().isDate());
  EXPECT_EQ(m.value().julian(), 0);
  m.setCaret(0);
  typeKeys(m, "24122026");
  EXPECT_EQ(m.value().julian(), julianFromCalendar(24, 12, 2026));

  m.setValue(Value(true));
  EXPECT_EQ(m.text(), "T");
  EXPECT_TRUE(m.value().asBool());
  m.setValue(Value("abc"));
  EXPECT_EQ(m.maxLength(), 3);  // a template from the value's length
  EXPECT_EQ(m.value().str(), "abc");
  resetSettings();
}

TEST(EditMask, NumberShownWithTheWholePictureOnlyWithoutFocus) {
  EditMask m;
  m.setValue(Value::number(1234.5, 10, 2));
  m.setPicture("9,999,999.99");
  EXPECT_EQ(m.shownText(false), "1,234.50");
  EXPECT_EQ(m.shownText(true), "1234.50");
  m.setValue(Value(7));
  m.setPicture("");
  EXPECT_EQ(m.maxLength(), 10);  // at least ten places
  EXPECT_EQ(m.shownText(false), "7");
}

TEST(EditMask, SelectionIsReplacedAndARefusedKeyChangesNothing) {
  EditMask m;
  m.setValue(Value(""));
  m.setPicture("XXXXXX");
  typeKeys(m, "abcdef");
  m.setSelection(1, 3);
  EXPECT_TRUE(m.typeChar('Z'));
  EXPECT_EQ(m.text(), "aZef");
  m.setValue(Value(4711));
  m.setPicture("9999");
  m.setSelection(0, 4);
  EXPECT_FALSE(m.typeChar('x'));
  EXPECT_EQ(m.text(), "4711");
  EXPECT_EQ(m.selLength(), 4);
  EXPECT_TRUE(m.typeChar('5'));
  EXPECT_EQ(m.text(), "5");
}

}  // namespace
