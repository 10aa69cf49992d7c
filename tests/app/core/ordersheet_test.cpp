// The printed work order's layout: the texts, boxes and lines of both forms on the sheet, and
// the rules that turn a stored order into its printed texts.
#include "app/core/ordersheet.h"

#include <algorithm>

#include "support/datadir_fixture.h"

using namespace kv;
using namespace kv::engine;
using app::OrderSheetData;
using app::SheetItem;
using kvtest::DataDirTest;

namespace {

OrderSheetData sample() {
  OrderSheetData d;
  d.number = "00012";
  d.dateText = "13.02.2013";
  d.korisnik = "Petar Petrovic      ";
  d.aparat = "Mobilni telefon";
  d.proizvodja = "Nokia     ";
  d.model = "3310";
  d.serijskiBr = "123456";
  d.opisKvara = "Ne pali se\r\nEkran pukao\r\n";
  d.okvCena = 1500;
  d.header = {"Radionica", "Adresa 1", "Grad", "Telefon"};
  return d;
}

const SheetItem* findText(const std::vector<SheetItem>& items, const std::string& text) {
  auto it = std::find_if(items.begin(), items.end(), [&](const SheetItem& i) {
    return i.kind == SheetItem::Kind::Text && i.text == text;
  });
  return it == items.end() ? nullptr : &*it;
}

std::vector<std::string> texts(const std::vector<SheetItem>& items) {
  std::vector<std::string> out;
  for (const SheetItem& i : items)
    if (i.kind == SheetItem::Kind::Text) out.push_back(i.text);
  return out;
}

}  // namespace

TEST(OrderSheet, AccessoriesText) {
  struct Case {
    bool punjac, baterija, linijski, kartica, ostalo;
    const char* ostaliPribor;
    const char* expected;
  } cases[] = {
      {false, false, false, false, false, "", "."},
      {true, true, false, false, false, "", "Punjac, baterija."},
      {false, false, true, false, false, "", "Linijski kabl."},
      {true, true, true, true, true, "  torbica  ",
       "Punjac, baterija, linijski kabl, kartica, torbica."},
      {false, false, false, false, true, "slusalice", "Slusalice."},
      {false, false, false, false, false, "ignored", "."},
  };
  for (const Case& c : cases) {
    OrderSheetData d;
    d.punjac = c.punjac;
    d.baterija = c.baterija;
    d.linijskiK = c.linijski;
    d.kartica = c.kartica;
    d.priborO = c.ostalo;
    d.priborOst = c.ostaliPribor;
    EXPECT_EQ(app::orderSheetAccessories(d), c.expected);
  }
}

TEST(OrderSheet, DeviceTextPricesAndTitle) {
  OrderSheetData d = sample();
  EXPECT_EQ(app::orderSheetDevice(d), "Mobilni telefon Nokia     ");
  d.proizvodja = "Proizvodjac    ";
  EXPECT_EQ(app::orderSheetDevice(d), "Mobilni telefon ");
  d.aparat = "Ostalo:   ";
  d.aparatOst = "  Tablet  ";
  EXPECT_EQ(app::orderSheetDevice(d), "Tablet ");

  EXPECT_EQ(app::orderSheetPrice(0), "");
  EXPECT_EQ(app::orderSheetPrice(1500), "1500.00");
  EXPECT_EQ(app::orderSheetPrice(12.5), "12.50");

  EXPECT_EQ(app::orderSheetTitle(sample()), "ServisniNalog_00012_13022013");
}

TEST(OrderSheet, MultiLineTextsAreCutAtEachLineEnd) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(app::orderSheetLines("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(app::orderSheetLines("a\r\nnot drawn"), (Lines{"a"}));
  EXPECT_EQ(app::orderSheetLines("no line end"), Lines{});
  EXPECT_EQ(app::orderSheetLines("\r\n\r\nc\r\n"), (Lines{"", "", "c"}));
  // The clause loses its leading blanks and tabs and its trailing blanks only.
  EXPECT_EQ(app::orderSheetClauseLines(" \t Prvi\r\n  drugi \r\n   "), (Lines{"Prvi", "  drugi "}));
}

TEST(OrderSheet, BothFormsAreIdenticalAndTheLowerOneIs145MillimetresDown) {
  const std::vector<SheetItem> page = app::orderSheetPage(sample());
  ASSERT_EQ(page.size() % 2, 0u);
  const std::size_t half = page.size() / 2;
  for (std::size_t i = 0; i < half; ++i) {
    const SheetItem& up = page[i];
    const SheetItem& low = page[half + i];
    EXPECT_EQ(up.text, low.text);
    EXPECT_EQ(up.kind, low.kind);
    EXPECT_EQ(up.rect[0], low.rect[0]);
    EXPECT_EQ(up.rect[1] + 145, low.rect[1]);
    EXPECT_EQ(up.rect[3] + 145, low.rect[3]);
  }
  // The lower form's closing lines fall at 285 and 290 mm.
  std::vector<double> lines;
  for (const SheetItem& i : page)
    if (i.kind == SheetItem::Kind::Line) lines.push_back(i.rect[1]);
  EXPECT_EQ(lines, (std::vector<double>{140, 145, 285, 290}));
}

TEST(OrderSheet, TextsSitInTheirRectanglesWithTheirFontsAndAlignments) {
  OrderSheetData d = sample();
  d.clause = "Uslovi servisa\r\nDrugi red\r\n";
  const std::vector<SheetItem> form = app::orderSheetForm(d, 0);
  struct Expect {
    std::string text;
    std::array<double, 4> rect;
    int size;
    bool bold;
    int align;
  } expects[] = {
      {"Radionica", {10, 5, 200, 10}, 12, true, 6},
      {"Telefon", {10, 18, 200, 21}, 8, false, 6},
      {"SERVISNI NALOG broj 00012 // datum: 13.02.2013 // korisnik: Petar Petrovic",
       {11, 25, 199, 30},
       10,
       true,
       0},
      {"OPIS KVARA:", {12, 56, 48, 79}, 8, true, 0},
      {"OKVIRNA CENA:", {12, 81, 104, 84}, 8, true, 0},
      {"Mobilni telefon Nokia     ", {52, 31, 198, 34}, 8, false, 0},
      {".", {52, 46, 198, 50}, 8, false, 0},
      {"Ne pali se", {52, 56, 198, 63}, 8, false, 0},
      {"Ekran pukao", {52, 60, 198, 67}, 8, false, 0},
      {"1500.00", {37, 81, 104, 84}, 8, false, 0},
      {"Uslovi servisa", {12, 86, 198, 114}, 8, false, 0},
      {"Drugi red", {12, 90, 198, 118}, 8, false, 0},
      {"Saglasan sa stanjem:", {107, 116, 198, 124}, 8, false, 6},
      {app::orderSheetFooterRight(), {8, 141, 202, 144}, 6, false, 2},
  };
  for (const Expect& e : expects) {
    SCOPED_TRACE(e.text);
    const SheetItem* item = findText(form, e.text);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->rect, e.rect);
    EXPECT_EQ(item->fontSize, e.size);
    EXPECT_EQ(item->bold, e.bold);
    EXPECT_EQ(item->align, e.align);
  }
  // A zero final price is an empty text in its cell.
  auto finalPrice = std::find_if(form.begin(), form.end(), [](const SheetItem& i) {
    return i.kind == SheetItem::Kind::Text && i.rect == std::array<double, 4>{133, 81, 198, 84};
  });
  ASSERT_NE(finalPrice, form.end());
  EXPECT_EQ(finalPrice->text, "");
  // Without a clause file there are no clause lines.
  d.clause.reset();
  EXPECT_EQ(findText(app::orderSheetForm(d, 0), "Uslovi servisa"), nullptr);
}

TEST(OrderSheet, CroatianChangesExactlyThreeLabels) {
  OrderSheetData d = sample();
  const std::vector<std::string> serbian = texts(app::orderSheetForm(d, 0));
  d.croatian = true;
  const std::vector<std::string> croatian = texts(app::orderSheetForm(d, 0));
  ASSERT_EQ(serbian.size(), croatian.size());
  std::vector<std::pair<std::string, std::string>> changed;
  for (std::size_t i = 0; i < serbian.size(); ++i)
    if (serbian[i] != croatian[i]) changed.emplace_back(serbian[i], croatian[i]);
  EXPECT_EQ(changed, (std::vector<std::pair<std::string, std::string>>{
                         {"OKVIRNA CENA:", "OKVIRNA CIJENA:"},
                         {"KONACNA CENA:", "KONACNA CIJENA:"},
                         {"Saglasan sa stanjem:", "Suglasan sa stanjem:"}}));
}

TEST(OrderSheet, AnEightLineClauseRunsBelowItsBox) {
  OrderSheetData d = sample();
  std::string clause;
  for (int i = 1; i <= 8; ++i) clause += "Red " + std::to_string(i) + "\r\n";
  d.clause = clause;
  const std::vector<SheetItem> form = app::orderSheetForm(d, 0);
  const SheetItem* last = findText(form, "Red 8");
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->rect[1], 86 + 4 * 7);  // 114: below the clause box, which ends at 110
}

using OrderSheetRecord = DataDirTest;

TEST_F(OrderSheetRecord, ReadsTheStoredOrder) {
  app::INITDBF();
  app::OtvoriBaze();
  DBSELECTAREA(Value("Nalozi"));
  DBAPPEND();
  const auto put = [](const char* name, const Value& v) { FIELDPUT(FIELDPOS(Value(name)), v); };
  put("BrNal", Value("00012"));
  put("Korisnik", Value("Jovan \x9A"
                        "ljivi\xE6"));  // š and ć in Windows-1250
  put("Aparat", Value("OSTALO: drugo"));
  put("Aparat_Ost", Value("Tablet"));
  put("Punjac", Value(true));
  put("Pribor_O", Value(true));
  put("Pribor_Ost", Value("futrola"));
  put("Opis_Kvara", Value("Prvi\r\nDrugi\r\n"));
  put("Kon_cena", Value(250.5));
  const OrderSheetData d = app::orderSheetFromRecord();
  EXPECT_EQ(d.number, "00012");
  EXPECT_EQ(d.korisnik.substr(0, 13),
            "Jovan \x9A"
            "ljivi\xE6");
  EXPECT_EQ(app::orderSheetDevice(d).substr(0, 7), "Tablet ");
  EXPECT_EQ(app::orderSheetAccessories(d), "Punjac, futrola.");
  EXPECT_EQ(app::orderSheetLines(d.opisKvara), (std::vector<std::string>{"Prvi", "Drugi"}));
  EXPECT_EQ(app::orderSheetPrice(d.okvCena), "");
  EXPECT_EQ(app::orderSheetPrice(d.konCena), "250.50");
  EXPECT_TRUE(errors.empty());
}
