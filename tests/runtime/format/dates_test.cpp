#include "runtime/format/dates.h"

#include <gtest/gtest.h>

#include "runtime/lang/settings.h"
#include "support/error_expect.h"

using namespace kv;

namespace {

class Dates : public ::testing::Test {
 protected:
  void SetUp() override { resetSettings(); }
  void TearDown() override { resetSettings(); }
  static void useFormat(const char* f) { setSetting(kSetDateFormat, Value(f)); }
};

}  // namespace

TEST_F(Dates, KnownDayNumbersAndWeekdays) {
  struct Case {
    int d, m, y;
    std::int32_t julian;
    int dow;  // 1 = Sunday
  } cases[] = {
      {1, 1, 1970, 2440588, 5},   {1, 1, 2000, 2451545, 7},  {1, 1, 1, 1721426, 2},
      {31, 12, 2999, 2816787, 3}, {29, 2, 2012, 2455987, 4}, {13, 2, 2013, 2456337, 4},
      {1, 3, 1900, 2415080, 5},   {28, 2, 1900, 2415079, 4},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(julianFromCalendar(c.d, c.m, c.y), c.julian) << c.d << "." << c.m << "." << c.y;
    CalendarDate back = calendarDate(c.julian);
    EXPECT_EQ(back.day, c.d);
    EXPECT_EQ(back.month, c.m);
    EXPECT_EQ(back.year, c.y);
    EXPECT_EQ(weekday(c.julian), c.dow) << c.julian;
  }
}

TEST_F(Dates, InvalidCalendarDatesGiveZero) {
  struct Case {
    int d, m, y;
  } cases[] = {{31, 2, 2013}, {29, 2, 2013}, {29, 2, 1900}, {0, 1, 2000},
               {1, 0, 2000},  {1, 13, 2000}, {1, 1, 0},     {1, 1, 3000},
               {31, 4, 2020}, {32, 1, 2020}, {-1, 1, 2000}};
  for (const auto& c : cases) EXPECT_EQ(julianFromCalendar(c.d, c.m, c.y), 0);
  EXPECT_NE(julianFromCalendar(29, 2, 2000), 0);
  EXPECT_EQ(calendarDate(0).year, 0);
  EXPECT_EQ(calendarDate(-5).day, 0);
  EXPECT_EQ(weekday(0), 0);
}

TEST_F(Dates, EveryDayRoundTripsThroughTextAndStoredForm) {
  const std::int32_t first = julianFromCalendar(1, 1, 1);
  const std::int32_t last = julianFromCalendar(31, 12, 2999);
  const std::int32_t year100 = julianFromCalendar(1, 1, 100);
  ASSERT_GT(first, 0);
  ASSERT_GT(last, first);
  int lastDow = weekday(first - 1 + 1) - 1;
  for (std::int32_t n = first; n <= last; ++n) {
    const std::string text = dateToText(n, "DD.MM.YYYY");
    if (n >= year100) {
      ASSERT_EQ(textToDate(text, "DD.MM.YYYY", 1900), n) << text;
    } else {
      // A year below 100 reads back with the epoch added, however it was written.
      const CalendarDate d = calendarDate(n);
      ASSERT_EQ(textToDate(text, "DD.MM.YYYY", 1900),
                julianFromCalendar(d.day, d.month, d.year + 1900))
          << text;
    }
    const std::string stored = dateToStored(n);
    ASSERT_EQ(storedToDate(stored), n) << stored;
    const CalendarDate d = calendarDate(n);
    ASSERT_EQ(julianFromCalendar(d.day, d.month, d.year), n);
    const int dow = weekday(n);
    ASSERT_EQ(dow, lastDow % 7 + 1) << n;
    lastDow = dow;
  }
}

TEST_F(Dates, TextUnderFormats) {
  const std::int32_t d = julianFromCalendar(13, 2, 2013);
  struct Case {
    const char* format;
    std::int32_t julian;
    const char* text;
  } cases[] = {
      {"DD.MM.YYYY", d, "13.02.2013"},
      {"dd.mm.yyyy", d, "13.02.2013"},
      {"DD.MM.YY", d, "13.02.13"},
      {"mm/dd/yy", d, "02/13/13"},
      {"YYYY-MM-DD", d, "2013-02-13"},
      {"DD.MM.YYYY", 0, "  .  .    "},
      {"mm/dd/yy", 0, "  /  /  "},
      {"DD.MM.YYYY hh", d, "13.02.2013"},  // at most 10 characters of the format
  };
  for (const auto& c : cases) EXPECT_EQ(dateToText(c.julian, c.format), c.text) << c.format;
}

TEST_F(Dates, TextToDate) {
  struct Case {
    const char* text;
    const char* format;
    int epoch;
    int d, m, y;  // 0 = empty date
  } cases[] = {
      {"31.02.2013", "DD.MM.YYYY", 1900, 0, 0, 0},
      {"29.02.2012", "DD.MM.YYYY", 1900, 29, 2, 2012},
      {"13.02.13", "DD.MM.YYYY", 1900, 13, 2, 1913},  // epoch added, no windowing
      {"13.02.13", "DD.MM.YY", 1950, 13, 2, 2013},
      {"13.02.60", "DD.MM.YY", 1950, 13, 2, 1960},
      {"13.02.49", "DD.MM.YY", 1950, 13, 2, 2049},
      {"13.02.50", "DD.MM.YY", 1950, 13, 2, 1950},
      {"13.02.00", "DD.MM.YY", 1950, 13, 2, 2000},
      {"13.02.13", "DD.MM.YY", 1900, 13, 2, 1913},
      {"02/13/2013", "MM/DD/YYYY", 1900, 13, 2, 2013},
      {"2013-02-13", "YYYY-MM-DD", 1900, 13, 2, 2013},
      {" 1. 2.2013", "DD.MM.YYYY", 1900, 1, 2, 2013},
      {"1..2..2013", "DD.MM.YYYY", 1900, 1, 2, 2013},   // separators in a row count once
      {"1/2-2013", "DD.MM.YYYY", 1900, 1, 2, 2013},     // any separator will do
      {"13.02.0013", "DD.MM.YYYY", 1900, 13, 2, 1913},  // below 100 whatever the digits
      {"05.06.0007", "DD.MM.YYYY", 1900, 5, 6, 1907},
      {"05.06.007", "DD.MM.YYYY", 1950, 5, 6, 1957},
      {"05.06.0007", "DD.MM.YY", 1950, 5, 6, 2007},  // windowed under the short format
      {"05.06.0099", "DD.MM.YY", 1950, 5, 6, 1999},
      {"05.06.0100", "DD.MM.YYYY", 1900, 5, 6, 100},  // 100 and above as written
      {"05.06.0000", "DD.MM.YYYY", 1900, 0, 0, 0},    // year 0 gets no epoch
      {"  .  .    ", "DD.MM.YYYY", 1900, 0, 0, 0},
      {"", "DD.MM.YYYY", 1900, 0, 0, 0},
      {"99999999999.1.2013", "DD.MM.YYYY", 1900, 0, 0, 0},
      {"13.02.3000", "DD.MM.YYYY", 1900, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const std::int32_t expected = c.d ? julianFromCalendar(c.d, c.m, c.y) : 0;
    EXPECT_EQ(textToDate(c.text, c.format, c.epoch), expected) << c.text << " " << c.format;
  }
}

TEST_F(Dates, StoredForm) {
  EXPECT_EQ(dateToStored(0), "        ");
  EXPECT_EQ(dateToStored(julianFromCalendar(5, 7, 987)), "09870705");
  struct Case {
    const char* stored;
    std::int32_t julian;
  } cases[] = {{"20130213", julianFromCalendar(13, 2, 2013)},
               {"20130213xyz", julianFromCalendar(13, 2, 2013)},
               {"00130213", julianFromCalendar(13, 2, 13)},  // no epoch
               {"        ", 0},
               {"2013021", 0},
               {"20130231", 0},
               {"2013 213", 0}};
  for (const auto& c : cases) EXPECT_EQ(storedToDate(c.stored), c.julian) << c.stored;
}

TEST_F(Dates, FunctionsUnderSettings) {
  const Value d = Value::date(julianFromCalendar(13, 2, 2013));
  EXPECT_EQ(DTOC(d).str(), "02/13/13");
  useFormat("DD.MM.YYYY");
  EXPECT_EQ(DTOC(d).str(), "13.02.2013");
  EXPECT_EQ(DTOC(Value::date(0)).str(), "  .  .    ");
  EXPECT_EQ(DTOS(d).str(), "20130213");
  EXPECT_EQ(DTOS(Value::date(0)).str(), "        ");
  EXPECT_EQ(CTOD(Value("13.02.2013")).julian(), d.julian());
  EXPECT_EQ(CTOD(Value("31.02.2013")).julian(), 0);
  EXPECT_TRUE(CTOD(Value("31.02.2013")).isDate());
  EXPECT_EQ(STOD(Value("20130213")).julian(), d.julian());
  EXPECT_EQ(DAY(d).asInt(), 13);
  EXPECT_EQ(MONTH(d).asInt(), 2);
  EXPECT_EQ(YEAR(d).asInt(), 2013);
  EXPECT_EQ(DOW(d).asInt(), 4);
  EXPECT_EQ(DAY(Value::date(0)).asInt(), 0);
  EXPECT_EQ(DOW(Value::date(0)).asInt(), 0);
  setSetting(kSetEpoch, Value::integer(1950));
  EXPECT_EQ(CTOD(Value("13.02.13")).julian(), julianFromCalendar(13, 2, 1963));
}

TEST_F(Dates, CenturySwitch) {
  EXPECT_FALSE(__SETCENTURY().asBool());
  EXPECT_EQ(setText(kSetDateFormat), "mm/dd/yy");  // asking changes nothing
  EXPECT_FALSE(__SETCENTURY(Value(true)).asBool());
  EXPECT_EQ(setText(kSetDateFormat), "MM/DD/YYYY");
  EXPECT_TRUE(__SETCENTURY(Value("on")).asBool());
  EXPECT_TRUE(__SETCENTURY(Value("off")).asBool());
  EXPECT_EQ(setText(kSetDateFormat), "MM/DD/YY");
  EXPECT_FALSE(__SETCENTURY(Value("ON")).asBool());
  EXPECT_EQ(setText(kSetDateFormat), "MM/DD/YYYY");
  EXPECT_TRUE(__SETCENTURY(Value(5)).asBool());  // other kinds only report
  EXPECT_EQ(setText(kSetDateFormat), "MM/DD/YYYY");
  useFormat("yyyyy-mm-dd");  // the whole run of "Y" is rewritten
  EXPECT_TRUE(__SETCENTURY(Value(false)).asBool());
  EXPECT_EQ(setText(kSetDateFormat), "YY-MM-DD");
}

TEST_F(Dates, TwoDigitYearsUnderBothFormats) {
  const Value d = Value::date(julianFromCalendar(1, 3, 2013));
  useFormat("dd.mm.yy");
  EXPECT_EQ(DTOC(d).str(), "01.03.13");
  EXPECT_EQ(CTOD(Value("01.03.13")).julian(), julianFromCalendar(1, 3, 1913));
  __SETCENTURY(Value(true));
  EXPECT_EQ(DTOC(d).str(), "01.03.2013");
  EXPECT_EQ(CTOD(Value("01.03.13")).julian(), julianFromCalendar(1, 3, 1913));
  EXPECT_EQ(CTOD(Value("01.03.2013")).julian(), d.julian());
}

TEST_F(Dates, ClockFunctions) {
  const Value today = DATE();
  ASSERT_TRUE(today.isDate());
  EXPECT_GT(YEAR(today).asInt(), 2000);
  const std::string t(TIME().str());
  ASSERT_EQ(t.size(), 8u);
  EXPECT_EQ(t[2], ':');
  EXPECT_EQ(t[5], ':');
  EXPECT_LT(std::stoi(t.substr(0, 2)), 24);
}

TEST_F(Dates, WrongKindsRaiseArgumentErrors) {
  EXPECT_TRUE(test::raisesArgError("DTOC", 1118, [] { return DTOC(Value(5)); }));
  EXPECT_TRUE(test::raisesArgError("CTOD", 1119, [] { return CTOD(Value(5)); }));
  EXPECT_TRUE(test::raisesArgError("DTOS", 1120, [] { return DTOS(Value("20130213")); }));
  EXPECT_TRUE(test::raisesArgError("YEAR", 1112, [] { return YEAR(Value()); }));
  EXPECT_TRUE(test::raisesArgError("DOW", 1115, [] { return DOW(Value(true)); }));
}
