// The overview's rows built from Nalozi: the status precedence, the calendar order of the date
// column with the one direction flag shared by all columns, the incremental search in the rows
// and the Enter search through the table's filter, which is cleared again.
#include "app/core/orderoverview.h"
#include "runtime/format/dates.h"
#include "support/datadir_fixture.h"

using namespace kv;
using namespace kv::engine;
using kvtest::DataDirTest;

namespace {

class OrderOverviewTest : public DataDirTest {
 protected:
  void SetUp() override {
    DataDirTest::SetUp();
    setSetting(kSetDateFormat, Value("dd.mm.yyyy"));
    app::INITDBF();
    app::OtvoriBaze();
    DBSELECTAREA(Value("Nalozi"));
    struct Order {
      const char *number, *date, *who, *kontakt, *model, *serial;
      bool uObradi, zavrsen;
    } orders[] = {{"00001", "02.01.2013", "Petar", "Novi Sad", "3310", "S1", false, false},
                  {"00002", "01.12.2013", "Milica", "", "Xab", "S2", true, true},
                  {"00003", "15.06.2012", "Zoran", "abonent", "N95", "S3", true, false},
                  {"00004", "01.01.2014", "Ana", "", "E71", "Q-AB7", false, false}};
    for (const Order& o : orders) {
      app::appendBlank();
      put("BrNal", Value(o.number));
      put("DatNal", CTOD(Value(o.date)));
      put("Korisnik", Value(o.who));
      put("Kontakt", Value(o.kontakt));
      put("Model", Value(o.model));
      put("SerijskiBr", Value(o.serial));
      put("U_Obradi", Value(o.uObradi));
      put("Zavrsen", Value(o.zavrsen));
    }
    DBUNLOCK();
    DBCOMMIT();
    ASSERT_TRUE(errors.empty());
  }
  static std::vector<std::string> column(const Value& rows, int c) {
    std::vector<std::string> out;
    for (const Value& r : rows.arr()->items) out.push_back(trimmed(r.arr()->items[c - 1]));
    return out;
  }
  using V = std::vector<std::string>;
};

}  // namespace

TEST_F(OrderOverviewTest, RowsInNumberOrderWithTheStatusPrecedence) {
  const Value rows = app::buildOverview();
  EXPECT_EQ(column(rows, 1), (V{"00001", "00002", "00003", "00004"}));
  EXPECT_EQ(column(rows, 2), (V{"02.01.2013", "01.12.2013", "15.06.2012", "01.01.2014"}));
  EXPECT_EQ(column(rows, 7), (V{"na Cekanju", "Zavrsen", "u Obradi", "na Cekanju"}));
  // Texts as stored, trailing blanks kept.
  EXPECT_EQ(rows.arr()->items[0].arr()->items[2].str().size(), 50u);
}

TEST_F(OrderOverviewTest, SortsShareOneDirectionAndTheDateColumnSortsByCalendar) {
  const Value rows = app::buildOverview();
  bool descending = false;
  app::sortOverview(rows, 2, descending);
  EXPECT_EQ(column(rows, 1), (V{"00003", "00001", "00002", "00004"}));
  EXPECT_TRUE(descending);
  app::sortOverview(rows, 2, descending);
  EXPECT_EQ(column(rows, 1), (V{"00004", "00002", "00001", "00003"}));
  // Column 3 then column 5: ascending, then descending.
  app::sortOverview(rows, 3, descending);
  EXPECT_EQ(column(rows, 3), (V{"Ana", "Milica", "Petar", "Zoran"}));
  app::sortOverview(rows, 5, descending);
  EXPECT_EQ(column(rows, 5), (V{"Xab", "N95", "E71", "3310"}));
  EXPECT_FALSE(descending);
  // A deleted order's row sorts by its date too; a column out of range changes nothing.
  rows.arr()->items[0].arr()->items[1] = Value("(01.01.2000)");
  app::sortOverview(rows, 2, descending);
  EXPECT_EQ(column(rows, 1)[0], "00002");
  app::sortOverview(rows, 8, descending);
  EXPECT_TRUE(descending);
}

TEST_F(OrderOverviewTest, IncrementalSearchLooksInCustomerModelAndSerial) {
  const Value rows = app::buildOverview();
  struct Case {
    const char* text;
    int row;
  } cases[] = {{"A", 1}, {"aB", 2}, {"q-ab", 4}, {"novi", 0}, {"", 0}, {"zoran", 3}};
  for (const Case& c : cases) EXPECT_EQ(app::searchOverview(rows, c.text), c.row) << c.text;
}

TEST_F(OrderOverviewTest, EnterSearchFiltersTheTableForOneFillOnly) {
  const Value some = app::buildFilteredOverview("ab");
  // Milica (model Xab), Zoran (contact abonent), Ana (serial Q-AB7).
  EXPECT_EQ(column(some, 1), (V{"00002", "00003", "00004"}));
  EXPECT_EQ(DBFILTER().str(), "");
  EXPECT_EQ(app::buildFilteredOverview("").arrayLen(), 4u);
  EXPECT_EQ(app::buildFilteredOverview("nema").arrayLen(), 0u);
  EXPECT_EQ(DBFILTER().str(), "");
}

TEST_F(OrderOverviewTest, RowsAreFoundReplacedAndAppendedByNumber) {
  const Value rows = app::buildOverview();
  EXPECT_EQ(app::overviewRowOfNumber(rows, "00003"), 3);
  EXPECT_EQ(app::overviewRowOfNumber(rows, "0000"), 0);
  EXPECT_EQ(app::overviewRowContaining(rows, "0003"), 3);
  DBSEEK(Value("00002"));
  EXPECT_EQ(app::putOverviewRow(rows, app::overviewRow()), 2);
  EXPECT_EQ(rows.arrayLen(), 4u);
  Value fresh = app::overviewRow();
  fresh.arr()->items[0] = Value("00009");
  EXPECT_EQ(app::putOverviewRow(rows, fresh), 5);
}

// The row of a number wherever it stands: at its own position, after a sort, after a delete
// put it in parentheses.
TEST_F(OrderOverviewTest, ARowIsFoundByNumberInAnyOrder) {
  const Value rows = app::buildOverview();
  ASSERT_EQ(rows.arrayLen(), 4u);
  bool descending = true;
  app::sortOverview(rows, 1, descending);  // 00004 00003 00002 00001
  const struct {
    const char* number;
    int row;
  } cases[] = {{"00004", 1}, {"00001", 4}, {"00002", 3}, {"00005", 0}, {"00000", 0}, {"1", 0}};
  for (const auto& c : cases)
    EXPECT_EQ(app::overviewRowOfNumber(rows, c.number), c.row) << c.number;
  rows.arr()->items[3].arr()->items[0] = Value("(00001)");
  EXPECT_EQ(app::overviewRowOfNumber(rows, "00001"), 0);
  rows.arr()->items[0].arr()->items[0] = Value("00001");
  EXPECT_EQ(app::overviewRowOfNumber(rows, "00001"), 1);
}
