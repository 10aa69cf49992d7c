// The main window's start-up: what the creation handler fills in from the data files and the
// settings file, on a first start in an empty directory and with stored orders, customers and
// options.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/core/datafiles.h"
#include "app/core/settingsfile.h"
#include "app/core/makertexts.h"
#include "runtime/format/dates.h"
#include "runtime/lib/strings.h"
#include "support/main_window.h"

using namespace kv;
using kvtest::part;
using kvtest::render;

namespace {

using MainWindowStartup = kvtest::MainWindowTest;

std::vector<std::string> texts(const Value& array) {
  std::vector<std::string> out;
  for (const Value& v : array.arr()->items) out.emplace_back(v.deref().str());
  return out;
}

// Stores orders of the given numbers (five digits) and customers in tables of the current
// structure, as another station would have left them.
void storeOrders(const std::vector<const char*>& numbers,
                 const std::vector<std::pair<const char*, const char*>>& customers = {}) {
  using kvtest::DataDirTest;
  struct Access : DataDirTest {
    using DataDirTest::makeTable;
    using DataDirTest::put;
  };
  Access::makeTable("Nalozi.dbf", app::StrukturaTabele("Nalozi"), [&] {
    for (const char* n : numbers) {
      engine::DBAPPEND();
      Access::put("BRNAL", Value(n));
      Access::put("KORISNIK", Value("Kupac " + std::string(n)));
    }
  });
  Access::makeTable("Korisnici.dbf", app::StrukturaTabele("Korisnici"), [&] {
    for (const auto& [naziv, kontakt] : customers) {
      engine::DBAPPEND();
      Access::put("NAZIV", Value(naziv));
      Access::put("KONTAKT", Value(kontakt));
    }
  });
}

void writeSettings(const std::string& text) {
  std::ofstream(app::settingsFileName()) << text;
}

}  // namespace

TEST_F(MainWindowStartup, AFirstStartShowsNumberOneTodayAndTheDefaultManufacturers) {
  withMainForm([](const Value& form, ui::Form&) {
    EXPECT_EQ(send(part(form, "eBrojNaloga"), "Caption").asInt(), 1);
    EXPECT_EQ(send(part(form, "dtpDatumNaloga"), "Date").julian(), DATE().julian());
    std::vector<std::string> want = {"Proizvodjac"};
    for (const std::string& maker : kvtest::kDefaultMakers) {
      want.push_back(std::string(PADR(Value(maker), Value(50)).str()));
    }
    EXPECT_EQ(texts(send(part(form, "csProizvodjaciTelefona"), "Items")), want);
    EXPECT_EQ(memvarGet("aPregled").arrayLen(), 0u);
    EXPECT_EQ(memvarGet("aKorisnici").arrayLen(), 0u);
    EXPECT_EQ(render(send(part(form, "Panel1"), "Caption")), app::kMakerAddress);
    EXPECT_EQ(render(send(form, "Caption")), app::programTitle());
    // The options' defaults: no printer choice, no colours, Serbian.
    EXPECT_FALSE(memvarGet("lIzborStampaca").asBool());
    EXPECT_FALSE(memvarGet("lColorPregled").asBool());
    EXPECT_TRUE(memvarGet("lJezikSrpski").asBool());
    EXPECT_FALSE(memvarGet("lJezikHrvatski").asBool());
    const Value menu = part(form, "MainMenu1");
    EXPECT_TRUE(send(menu, "GetChecked", {memvarGet("nJezikSrpski")}).asBool());
    EXPECT_FALSE(send(menu, "GetChecked", {memvarGet("nJezikHrvatski")}).asBool());
  });
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowStartup, StoredOrdersGiveTheNextNumberAndFillTheOverview) {
  storeOrders({"00001", "00057", "00012"}, {{"Zoran", "064 111"}, {"ana", "011 222"}});
  withMainForm([](const Value& form, ui::Form&) {
    EXPECT_EQ(send(part(form, "eBrojNaloga"), "Caption").asInt(), 58);
    // The overview in order-number order, the last order current.
    const Value rows = memvarGet("aPregled");
    ASSERT_EQ(rows.arrayLen(), 3u);
    std::vector<std::string> numbers;
    for (const Value& row : rows.arr()->items) numbers.emplace_back(row.arr()->items[0].str());
    EXPECT_EQ(numbers, (std::vector<std::string>{"00001", "00012", "00057"}));
    const Value grid = part(form, "sgPregled");
    EXPECT_EQ(send(grid, "Items").arr(), rows.arr());
    EXPECT_EQ(send(grid, "Row").asInt(), 3);
    // The customers in name order regardless of case, the first one current.
    const Value customers = memvarGet("aKorisnici");
    ASSERT_EQ(customers.arrayLen(), 2u);
    EXPECT_EQ(render(customers.arr()->items[0].arr()->items[0]).substr(0, 3), "ana");
    EXPECT_EQ(send(part(form, "sgKorisnici"), "Row").asInt(), 1);
  });
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowStartup, TheSettingsFileSetsTheOptionsAndTheirCheckMarks) {
  struct Case {
    const char* file;
    bool izbor, boja, srpski, hrvatski;
  } cases[] = {
      {"", false, false, true, false},
      {"[Stampa]\nIzbor Stampaca=.T.\nJezik=Hrvatski\n[Pregled]\nBoja=.T.\n", true, true, false,
       true},
      {"[Stampa]\nJezik=Srpski\n[Pregled]\nBoja=.F.\n", false, false, true, false},
      // A language that is neither leaves both items without a check mark.
      {"[Stampa]\nJezik=Slovenski\n", false, false, false, false},
      {"[Stampa]\nJezik=srpski\nIzbor Stampaca=T\n", false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    writeSettings(c.file);
    withMainForm([&](const Value& form, ui::Form&) {
      const Value menu = part(form, "MainMenu1");
      for (const auto& [option, item, want] :
           {std::tuple{"lIzborStampaca", "nIzborStampaca", c.izbor},
            std::tuple{"lColorPregled", "nColorPregled", c.boja},
            std::tuple{"lJezikSrpski", "nJezikSrpski", c.srpski},
            std::tuple{"lJezikHrvatski", "nJezikHrvatski", c.hrvatski}}) {
        EXPECT_EQ(memvarGet(option).asBool(), want) << option;
        EXPECT_EQ(send(menu, "GetChecked", {memvarGet(item)}).asBool(), want) << item;
      }
    });
    restart();
  }
  EXPECT_TRUE(errors.empty());
}
