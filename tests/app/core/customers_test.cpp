// The customer list below the window: the rows loaded in index order, a save that updates a
// name stored in another case (the national letters too) and appends a new one at the end of
// the rows, the refusals of a blank name, delete with each answer and the row it leaves in
// parentheses, deleting all, the incremental search, and what the window is told, in order
// among the boxes.
#include "app/core/customers.h"
#include "app/core/listnames.h"
#include "app/core/messagedlg.h"
#include "support/datadir_fixture.h"

using namespace kv;
using namespace kv::engine;
using kvtest::DataDirTest;

namespace {

// Every box and every call to the view, in order: "box N: text", "rows N", "clear", "focus".
std::vector<std::string> g_log;
int g_answer = 6;

Value recordingDlg(const Value& text, const Value& type, const Value&, const Value&, const Value&) {
  g_log.push_back("box " + std::to_string(type.deref().asInt()) + ": " +
                  std::string(text.deref().str()));
  return type.deref().asInt() == 4 ? Value() : Value(g_answer);
}

struct LoggingView : app::CustomerView {
  void showRows(int row) override { g_log.push_back("rows " + std::to_string(row)); }
  void clearEdits() override { g_log.push_back("clear"); }
  void focusName() override { g_log.push_back("focus"); }
};

std::string pad(const std::string& s) {
  return app::paddedName(s);
}

class CustomersTest : public DataDirTest {
 protected:
  void SetUp() override {
    DataDirTest::SetUp();
    app::INITDBF();
    app::OtvoriBaze();
    app::setMessageDlg(&recordingDlg);
    g_answer = 6;
    rows_ = Value::newArray();
    ASSERT_TRUE(errors.empty());
  }
  void TearDown() override {
    app::setMessageDlg(nullptr);
    DataDirTest::TearDown();
  }
  app::CustomerResult save(const std::string& name, const std::string& contact) {
    g_log.clear();
    return app::saveCustomer(name, contact, rows_, view_);
  }
  app::CustomerResult remove(const std::string& name) {
    g_log.clear();
    return app::deleteCustomer(name, rows_, view_);
  }
  // The stored customers (not deleted) in index order: "name|contact", trailing blanks off.
  std::vector<std::string> stored() {
    std::vector<std::string> out;
    const Value rows = app::buildCustomerRows();
    for (const Value& r : rows.arr()->items)
      out.push_back(trimmed(r.arr()->items[0]) + "|" + trimmed(r.arr()->items[1]));
    return out;
  }
  std::vector<std::string> shownRows() {
    std::vector<std::string> out;
    for (const Value& r : rows_.arr()->items)
      out.push_back(trimmed(r.arr()->items[0]) + "|" + trimmed(r.arr()->items[1]));
    return out;
  }
  int records() {
    DBSELECTAREA(Value("Korisnici"));
    return __LASTREC().asInt();
  }
  Value rows_;
  LoggingView view_;
};

using Log = std::vector<std::string>;

}  // namespace

TEST_F(CustomersTest, RowsLoadInIndexOrderWithoutDeletedOnesUnderTheWaitBox) {
  for (const char* n : {"milan", "Ana", "Zoran", "BOJAN"}) save(n, std::string("tel ") + n);
  remove("Zoran");
  g_log.clear();
  const Value rows = app::loadCustomerRows();
  EXPECT_EQ(g_log, Log{"box 4: Ucitava se Spisak Korisnika. Molim sacekajte..."});
  ASSERT_EQ(rows.arrayLen(), 3u);
  const auto& first = rows.arr()->items[0].arr()->items;
  EXPECT_EQ(first[0].str(), pad("Ana"));  // as stored: 50 characters
  EXPECT_EQ(first[1].str(), pad("tel Ana"));
  EXPECT_EQ(trimmed(rows.arr()->items[1].arr()->items[0]), "BOJAN");
  EXPECT_EQ(trimmed(rows.arr()->items[2].arr()->items[0]), "milan");
}

TEST_F(CustomersTest, ANameStoredInAnotherCaseIsUpdatedAndTheRowsGainAnExactRow) {
  rows_ = app::buildCustomerRows();
  ASSERT_EQ(save("ANA", "011/111").outcome, app::ListOutcome::Done);
  rows_ = app::buildCustomerRows();
  const app::CustomerResult r = save("Ana", "064/222");
  EXPECT_EQ(r.outcome, app::ListOutcome::Done);
  EXPECT_EQ(r.row, 2);
  EXPECT_EQ(g_log, Log{"rows 2"});
  EXPECT_EQ(records(), 1);
  EXPECT_EQ(stored(), std::vector<std::string>{"Ana|064/222"});
  // The rows compare names exactly: the old "ANA" row stays until the list is loaded again.
  EXPECT_EQ(shownRows(), (std::vector<std::string>{"ANA|011/111", "Ana|064/222"}));
  // Saving the same name again replaces its row in place.
  EXPECT_EQ(save("Ana", "065/333").row, 2);
  EXPECT_EQ(shownRows(), (std::vector<std::string>{"ANA|011/111", "Ana|065/333"}));
  EXPECT_TRUE(DBRLOCKLIST().arrayLen() == 0);
}

TEST_F(CustomersTest, NationalLettersAndLongNamesAreOneNameRegardlessOfCase) {
  // "Čeda Ćirić" and "čEDA ćIRIĆ" in Windows-1250: one customer.
  ASSERT_EQ(save("\xC8"
                 "eda \xC6"
                 "iri\xE6",
                 "a")
                .outcome,
            app::ListOutcome::Done);
  ASSERT_EQ(save("\xE8"
                 "EDA \xE6"
                 "IRI\xC6",
                 "b")
                .outcome,
            app::ListOutcome::Done);
  EXPECT_EQ(records(), 1);
  // A name longer than the field is cut to 50 before it is sought, so the cut name is found.
  const std::string longName(60, 'k');
  save(longName, "c");
  save(std::string(50, 'K') + "zzz", "d");
  EXPECT_EQ(records(), 2);
  EXPECT_EQ(stored().back(), std::string(50, 'K') + "|d");
}

TEST_F(CustomersTest, ANewCustomerGoesToTheEndOfTheRowsNotInItsPlace) {
  save("Milan", "1");
  save("Zoran", "2");
  rows_ = app::buildCustomerRows();
  const app::CustomerResult r = save("Ana", "3");
  EXPECT_EQ(r.row, 3);
  EXPECT_EQ(shownRows(), (std::vector<std::string>{"Milan|1", "Zoran|2", "Ana|3"}));
  EXPECT_EQ(stored().front(), "Ana|3");
}

TEST_F(CustomersTest, ABlankNameIsRefusedBySaveAndDeleteAndChangesNothing) {
  save("Ana", "1");
  rows_ = app::buildCustomerRows();
  for (const std::string& name :
       std::vector<std::string>{"", "   ", std::string(50, ' '), std::string(70, ' ')}) {
    EXPECT_EQ(save(name, "x").outcome, app::ListOutcome::Refused);
    EXPECT_EQ(g_log, (Log{"box 2: Niste uneli podatke o Korisniku.", "focus"}));
    EXPECT_EQ(remove(name).outcome, app::ListOutcome::Refused);
    EXPECT_EQ(g_log, (Log{"box 2: Niste uneli podatke o Korisniku.", "focus"}));
  }
  EXPECT_EQ(stored(), std::vector<std::string>{"Ana|1"});
  EXPECT_EQ(shownRows(), std::vector<std::string>{"Ana|1"});
}

TEST_F(CustomersTest, DeleteAsksAndLeavesTheRowInParentheses) {
  save("Ana", "011/111");
  save("Petar Petrovic", "064/222");
  rows_ = app::buildCustomerRows();

  // Not stored: the error names it upper-cased and trimmed, and the edits are cleared.
  EXPECT_EQ(remove("Jovan").outcome, app::ListOutcome::NotFound);
  EXPECT_EQ(g_log,
            (Log{"box 2: Korisnik JOVAN nije pronadjen u bazi podataka.", "clear", "focus"}));

  g_answer = 7;
  EXPECT_EQ(remove("petar petrovic").outcome, app::ListOutcome::Declined);
  EXPECT_EQ(g_log, (Log{"box 3: Sigurno brisete Korisnika: PETAR PETROVIC?", "focus"}));
  EXPECT_EQ(stored().size(), 2u);

  // Yes, typed in another case: the record goes; no row has exactly that name.
  g_answer = 6;
  app::CustomerResult r = remove("ana");
  EXPECT_EQ(r.outcome, app::ListOutcome::Done);
  EXPECT_EQ(r.row, 0);
  EXPECT_EQ(g_log, (Log{"box 3: Sigurno brisete Korisnika: ANA?", "clear",
                        "box 0: Podaci o Korisniku su obrisani.", "focus"}));
  EXPECT_EQ(shownRows(), (std::vector<std::string>{"Ana|011/111", "Petar Petrovic|064/222"}));

  // Yes, typed as shown: its row shows name and contact trimmed, each in parentheses.
  r = remove("Petar Petrovic");
  EXPECT_EQ(r.row, 2);
  EXPECT_EQ(g_log, (Log{"box 3: Sigurno brisete Korisnika: PETAR PETROVIC?", "rows 2", "clear",
                        "box 0: Podaci o Korisniku su obrisani.", "focus"}));
  const auto& row = rows_.arr()->items[1].arr()->items;
  EXPECT_EQ(row[0].str(), "(Petar Petrovic)");
  EXPECT_EQ(row[1].str(), "(064/222)");
  EXPECT_TRUE(stored().empty());
  // Marked, not removed, and no lock left behind.
  EXPECT_EQ(records(), 2);
  EXPECT_TRUE(DBRLOCKLIST().arrayLen() == 0);
  // The row in parentheses names no stored customer: a second delete finds nothing.
  EXPECT_EQ(remove("(Petar Petrovic)").outcome, app::ListOutcome::NotFound);
}

TEST_F(CustomersTest, DeletingAllNeedsYes) {
  for (const char* n : {"Ana", "Bojan", "Ceca"}) save(n, "x");
  rows_ = app::buildCustomerRows();
  for (int answer : {7, 2, 1}) {
    g_answer = answer;
    g_log.clear();
    EXPECT_EQ(app::deleteAllCustomers(rows_, view_).outcome, app::ListOutcome::Declined);
    EXPECT_EQ(g_log, Log{"box 3: Sigurno brisete SVE Korisnike?"});
  }
  EXPECT_EQ(stored().size(), 3u);
  EXPECT_EQ(rows_.arrayLen(), 3u);
  g_answer = 6;
  g_log.clear();
  const Value shown = rows_;
  EXPECT_EQ(app::deleteAllCustomers(rows_, view_).outcome, app::ListOutcome::Done);
  EXPECT_EQ(g_log, (Log{"box 3: Sigurno brisete SVE Korisnike?",
                        "box 0: Svi Korisnici su obrisani.", "rows 0", "clear"}));
  EXPECT_TRUE(stored().empty());
  EXPECT_EQ(shown.arrayLen(), 0u);  // the very array the grid holds
  EXPECT_TRUE(DBRLOCKLIST().arrayLen() == 0);
  // A name deleted is free again: saving it appends a new record.
  save("Ana", "y");
  EXPECT_EQ(stored(), std::vector<std::string>{"Ana|y"});
  EXPECT_EQ(records(), 4);
}

TEST_F(CustomersTest, TheIncrementalSearch) {
  for (const char* n : {"Ana Jovic", "Bojan", "Jovan", "(Milan)"}) {
    Value row = Value::newArray();
    row.arr()->items.emplace_back(pad(n));
    row.arr()->items.emplace_back(pad(""));
    rows_.arr()->items.push_back(row);
  }
  struct Case {
    const char* text;
    int containing, search;
  } cases[] = {
      {"jov", 1, 1},  // the first that contains it, in any case
      {"JOVAN", 3, 3},  {"bo", 2, 2}, {"(mil", 4, 4}, {"zzz", 0, 1},  // none: the first row
      {"", 1, 1},        // the empty text is in every name
      {"Bojan ", 2, 2},  // trailing blanks of the stored name count
  };
  for (const Case& c : cases) {
    EXPECT_EQ(app::customerRowContaining(rows_, c.text), c.containing) << c.text;
    EXPECT_EQ(app::customerSearchRow(rows_, c.text), c.search) << c.text;
  }
  EXPECT_EQ(app::customerSearchRow(Value::newArray(), "a"), 1);
  EXPECT_EQ(app::searchTextAfterKey("Jo", 'V'), "JoV");
  EXPECT_EQ(app::customerSearchRow(rows_, app::searchTextAfterKey("Jo", 'V')), 1);
  EXPECT_EQ(app::customerSearchRow(rows_, app::searchTextAfterKey("Boj", 'A')), 2);
}
