#include "engine/dbf/fieldconv.h"

#include <gtest/gtest.h>

#include "runtime/format/dates.h"
#include "runtime/format/numfmt.h"
#include "runtime/lang/settings.h"

using namespace kv;

// A numeric field shows a number exactly as STR with the field's width and decimals does,
// and date fields use the runtime's calendar, so keys and fields never disagree.
TEST(FieldConversion, AgreesWithTheRuntime) {
  resetSettings();
  struct Case {
    double v;
    int width, dec;
    const char* text;
  } cases[] = {
      {1.005, 5, 2, " 1.01"}, {-0.4, 5, 0, "    0"}, {123456, 5, 0, "*****"},
      {0.5, 4, 3, ".500"},    {57, 5, 0, "   57"},   {-12.345, 8, 2, "  -12.35"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(engine::numberToField(c.v, c.width, c.dec), c.text) << c.v;
    EXPECT_EQ(engine::numberToField(c.v, c.width, c.dec), formatNumber(c.v, c.width, c.dec));
    EXPECT_DOUBLE_EQ(engine::numberFromField(c.text), c.text[0] == '*' ? 0 : std::stod(c.text));
  }
  EXPECT_EQ(engine::numberToField(1, 70, 0), std::string(69, ' ') + "1");  // wider than 64
  EXPECT_EQ(engine::numberToField(1e80, 70, 0), std::string(70, '*'));
  for (std::int32_t j : {julianFromCalendar(1, 1, 1), julianFromCalendar(29, 2, 2012),
                         julianFromCalendar(31, 12, 2999)}) {
    EXPECT_EQ(storedToDate(dateToStored(j)), j);
  }
  EXPECT_EQ(storedToDate("30000101"), 0);  // beyond the calendar's last year
}
