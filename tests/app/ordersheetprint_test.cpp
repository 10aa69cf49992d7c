// The printed work order read back from outside: the recorded document written as a PDF and
// checked with the PDF tools (every text at its rectangle after its alignment, the boxes and
// lines in ink, one sheet per copy, Serbian letters as typed), and the print command on the
// main window as a person clicks it (the order sought, its error box, the title, the copies,
// the printer dialog's choice).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/core/appsettings.h"
#include "app/core/ordersheet.h"
#include "app/ordersheetprint.h"
#include "platform/codepage.h"
#include "support/order_window.h"
#include "support/pdf_layout.h"
#include "ui/printer/printer.h"

using namespace kv;
using app::OrderSheetData;
using app::SheetItem;
namespace fs = std::filesystem;

namespace {

// A stored order with every field filled: Serbian letters in the customer, the model, the note
// and the fault description, every accessory, no final price, an eight-line clause.
OrderSheetData richOrder() {
  OrderSheetData d;
  d.number = "00012";
  d.dateText = "13.02.2013";
  d.korisnik = platform::utf8ToCp1250("Đorđe Čičić Šoškić Žužić   ");
  d.aparat = "Mobilni telefon";
  d.proizvodja = "Nokia     ";
  d.model = platform::utf8ToCp1250("Lumia ćao");
  d.serijskiBr = "SN-4711";
  d.punjac = d.baterija = d.linijskiK = d.kartica = d.priborO = true;
  d.priborOst = "torbica";
  d.telefonN = platform::utf8ToCp1250("ogreban poklopac, žuta nalepnica");
  d.opisKvara = platform::utf8ToCp1250("Ne pali se\r\nEkran pukao u uglu\r\nčešće se gasi\r\n");
  d.okvCena = 1500;
  d.konCena = 0;
  d.header = {"Radionica Test", "Popravka telefona", "Glavna 1, Grad", "tel 011 123"};
  std::string clause;
  for (int n = 1; n <= 8; ++n) clause += "Uslov broj " + std::to_string(n) + " servisa\r\n";
  d.clause = clause;
  return d;
}

// The words of a text as pdftotext splits them.
std::vector<std::string> wordsOf(const std::string& utf8) {
  std::vector<std::string> out;
  std::istringstream in(utf8);
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

// Where a text of the sheet was found on the page: the box of its run of words.
struct Found {
  double left, top, right;
};

// The run of consecutive words equal to the text's words whose top is nearest `top`.
std::optional<Found> locate(const kvtest::PdfPageText& page, const std::string& utf8, double top) {
  const std::vector<std::string> want = wordsOf(utf8);
  std::optional<Found> best;
  if (want.empty()) return best;
  const auto& words = page.words;
  for (std::size_t i = 0; i + want.size() <= words.size(); ++i) {
    bool same = true;
    for (std::size_t k = 0; k < want.size() && same; ++k) same = words[i + k].text == want[k];
    if (!same) continue;
    const Found f{words[i].left, words[i].top, words[i + want.size() - 1].right};
    if (!best || std::fabs(f.top - top) < std::fabs(best->top - top)) best = f;
  }
  return best;
}

class OrderSheetPdf : public kvtest::DataDirTest {
 protected:
  void SetUp() override {
    DataDirTest::SetUp();
    if (!kvtest::pdfToolsPresent()) GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) missing";
    program_ = std::make_unique<kvtest::WindowProgram>();
  }
  void TearDown() override {
    program_.reset();
    DataDirTest::TearDown();
  }
  // Records the order with `copies` copies and writes it as order.pdf.
  fs::path recorded(const OrderSheetData& d, int copies) {
    ui::Printer& p = *ui::printer();
    polls_ = 0;
    app::recordOrderDocument(p, d, copies, [this] { ++polls_; });
    const fs::path pdf = dir_ / "order.pdf";
    EXPECT_TRUE(p.toPdf(pdf.string()));
    return pdf;
  }

  std::unique_ptr<kvtest::WindowProgram> program_;
  int polls_ = 0;
};

TEST_F(OrderSheetPdf, EveryTextStandsAtItsRectangleInBothForms) {
  const OrderSheetData d = richOrder();
  const fs::path pdf = recorded(d, 1);
  const kvtest::PdfInfo info = kvtest::pdfInfo(pdf);
  ASSERT_TRUE(info.ok);
  ASSERT_EQ(info.pages, 1);
  EXPECT_EQ(info.title, "ServisniNalog_00012_13022013");
  ASSERT_EQ(info.sizes.size(), 1u);
  EXPECT_FALSE(info.sizes[0].landscape());
  EXPECT_NEAR(info.sizes[0].widthPt, 595.3, 0.5);
  EXPECT_NEAR(info.sizes[0].heightPt, 841.9, 0.5);

  const kvtest::PdfPageText page = kvtest::pdfPageText(pdf, 1);
  int checked = 0;
  for (const SheetItem& item : app::orderSheetPage(d)) {
    if (item.kind != SheetItem::Kind::Text) continue;
    const std::string utf8 = platform::cp1250ToUtf8(item.text);
    if (wordsOf(utf8).empty()) continue;  // an empty price prints nothing
    const std::optional<Found> f = locate(page, utf8, item.rect[1]);
    ASSERT_TRUE(f) << "\"" << utf8 << "\" is not on the page";
    const auto [l, t, r, b] = item.rect;
    SCOPED_TRACE(utf8 + " at " + std::to_string(l) + ", " + std::to_string(t));
    EXPECT_NEAR(f->top, t, 0.5);
    if (item.align == 0) {
      EXPECT_NEAR(f->left, l, 0.5);
    } else if (item.align == 2) {
      EXPECT_NEAR(f->right, r, 0.5);
    } else {
      EXPECT_NEAR((f->left + f->right) / 2, (l + r) / 2, 0.5);
    }
    ++checked;
  }
  // In each form: 4 header lines, the title, 8 labels, 5 values, 3 fault lines, 1 price (the
  // other is empty), 8 clause lines, 4 signatures and the footer's 2 parts.
  EXPECT_EQ(checked, 2 * 36);

  // The clause's last two lines run on below its box, over the signature area.
  const std::optional<Found> eighth = locate(page, "Uslov broj 8 servisa", 114);
  ASSERT_TRUE(eighth);
  EXPECT_GT(eighth->top, 110);
  // No 0.00 for the price left at zero.
  EXPECT_EQ(kvtest::findWord(page, "0.00"), nullptr);
}

TEST_F(OrderSheetPdf, TheTwoFormsAreIdenticalAnd145MillimetresApart) {
  const kvtest::PdfPageText page = kvtest::pdfPageText(recorded(richOrder(), 1), 1);
  int upper = 0;
  for (const kvtest::PdfText& w : page.words) {
    if (w.top >= 145) continue;
    ++upper;
    bool twin = false;
    for (const kvtest::PdfText& v : page.words)
      twin = twin || (v.text == w.text && std::fabs(v.top - w.top - 145) < 0.05 &&
                      std::fabs(v.left - w.left) < 0.05);
    EXPECT_TRUE(twin) << w.text << " at " << w.left << ", " << w.top;
  }
  EXPECT_EQ(static_cast<std::size_t>(2 * upper), page.words.size());
}

TEST_F(OrderSheetPdf, BoxesAndLinesAreInk) {
  const fs::path pdf = recorded(richOrder(), 1);
  const kvtest::GreyPage g = kvtest::rasterPage(pdf, 1, 150, dir_);
  ASSERT_FALSE(g.empty());
  for (double o : {0.0, 145.0}) {
    SCOPED_TRACE("form at " + std::to_string(o));
    // The corners of the label cells, the fault box, the prices, the clause and signatures.
    for (auto [x, y] : {std::pair{10.0, 30.0},
                        {50.0, 30.0},
                        {200.0, 30.0},
                        {200.0, 55.0},
                        {50.0, 80.0},
                        {105.0, 85.0},
                        {10.0, 110.0},
                        {200.0, 110.0},
                        {10.0, 115.0},
                        {105.0, 125.0},
                        {200.0, 135.0}})
      EXPECT_LT(g.inkNear(x, o + y), 128) << x << ", " << y;
    // The closing lines from 8 to 202 mm, and nothing between them and the next form.
    for (double x : {8.5, 105.0, 201.5}) {
      EXPECT_LT(g.inkNear(x, o + 140), 128) << x;
      EXPECT_LT(g.inkNear(x, o + 145), 128) << x;
    }
  }
  EXPECT_EQ(g.inkShare(0, 146, 210, 149.5), 0) << "the gap above the lower form";
  EXPECT_EQ(g.inkShare(0, 291, 210, 297), 0) << "nothing below the lower form";
}

TEST_F(OrderSheetPdf, OneSheetPerCopyAndNoneForNoCopy) {
  const OrderSheetData d = richOrder();
  const kvtest::PdfInfo three = kvtest::pdfInfo(recorded(d, 3));
  EXPECT_EQ(three.pages, 3);
  EXPECT_EQ(ui::printer()->pages(), 3);
  // The poll runs once per copy and once per form.
  EXPECT_EQ(polls_, 3 * 3);
  const fs::path pdf = dir_ / "order.pdf";
  std::vector<std::string> first, last;
  for (const kvtest::PdfText& w : kvtest::pdfPageText(pdf, 1).words) first.push_back(w.text);
  for (const kvtest::PdfText& w : kvtest::pdfPageText(pdf, 3).words) last.push_back(w.text);
  EXPECT_EQ(first, last);

  ui::Printer& p = *ui::printer();
  app::recordOrderDocument(p, d, 0, [] {});
  EXPECT_EQ(p.pages(), 0);
  EXPECT_FALSE(p.recording());
}

TEST_F(OrderSheetPdf, SerbianLettersAndCroatianLabelsPrintAsTyped) {
  OrderSheetData d = richOrder();
  d.croatian = true;
  d.konCena = 2500.5;
  const kvtest::PdfPageText page = kvtest::pdfPageText(recorded(d, 1), 1);
  std::string text;
  for (const kvtest::PdfText& l : page.lines) text += l.text + "\n";
  for (const char* typed :
       {"Đorđe Čičić Šoškić Žužić", "Lumia ćao", "žuta nalepnica", "češće se gasi",
        "OKVIRNA CIJENA:", "KONACNA CIJENA:", "Suglasan sa stanjem:", "2500.50"})
    EXPECT_NE(text.find(typed), std::string::npos) << typed << " in\n" << text;
  for (const char* serbian : {"OKVIRNA CENA:", "KONACNA CENA:", "Saglasan"})
    EXPECT_EQ(text.find(serbian), std::string::npos) << serbian;
}

// The print command on the main window.
class PrintOrderCommand : public kvtest::OrderWindowTest {
 protected:
  void SetUp() override {
    OrderWindowTest::SetUp();
    if (!kvtest::pdfToolsPresent()) GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) missing";
  }
  // The recorded document's page 1 text, its lines joined.
  std::string printedText() {
    const fs::path pdf = dir_ / "printed.pdf";
    EXPECT_TRUE(ui::printer()->toPdf(pdf.string()));
    std::string text;
    for (const kvtest::PdfText& l : kvtest::pdfPageText(pdf, 1).lines) text += l.text + "\n";
    return text;
  }
};

TEST_F(PrintOrderCommand, PrintsTheStoredOrderNotTheEditedOne) {
  withForm([&](const Value& form) {
    storeOrder(12, "Petar Petrovic");
    findOrder(form, 12);
    typeInto(form, "eNazivKorisnika", "Neko Drugi");
    ui::printer()->setTitle("before");
    click(form, "bStampajNalog");
    EXPECT_TRUE(buttonBoxes().empty());
    EXPECT_EQ(boxes_, (std::vector<kvtest::RecordedBox>{{4, "Stampa u toku. Molim sacekajte..."}}));
    ui::Printer& p = *ui::printer();
    EXPECT_EQ(p.title(), "ServisniNalog_00012_13022013");
    EXPECT_EQ(p.pages(), 1);
    EXPECT_EQ(p.orientation(), ui::kPortrait);
    EXPECT_EQ(p.pageSize(), ui::kPaperA4);
    const std::string text = printedText();
    EXPECT_NE(text.find("korisnik: Petar Petrovic"), std::string::npos) << text;
    EXPECT_EQ(text.find("Neko Drugi"), std::string::npos);
    // The order stays the current record of Nalozi, the current work area.
    EXPECT_EQ(kvtest::render(engine::ALIAS()), "NALOZI");
    EXPECT_EQ(kvtest::render(field("BrNal")), "00012");
  });
}

TEST_F(PrintOrderCommand, CopiesAndThePrinterChoiceComeFromTheSettings) {
  struct Case {
    double stored;
    bool choose;
    int sheets;
  } cases[] = {{3, false, 3}, {1, true, 1}, {0, false, 1}};
  for (const Case& c : cases) {
    app::writeSetting(app::Setting::BrojPrimeraka, Value(c.stored));
    app::writeSetting(app::Setting::IzborStampaca, Value(c.choose));
    withForm([&](const Value& form) {
      if (!seekOrder(7)) storeOrder(7, "Marko");
      findOrder(form, 7);
      click(form, "bStampajNalog");
      EXPECT_EQ(ui::printer()->pages(), c.sheets) << c.stored;
      EXPECT_EQ(ui::printer()->showDialog(), c.choose) << c.stored;
    });
    restart();
  }
}

TEST_F(PrintOrderCommand, AMissingOrderGivesItsErrorBoxAndPrintsNothing) {
  struct Case {
    const char* typed;
    const char* box;
  } cases[] = {{"99", "Nalog broj 00099 ne postoji u bazi podataka!"},
               {"", "Nalog broj 00000 ne postoji u bazi podataka!"},
               {"123456", "Nalog broj 123456 ne postoji u bazi podataka!"}};
  for (const Case& c : cases) {
    boxes_.clear();
    withForm([&](const Value& form) {
      if (!seekOrder(12)) storeOrder(12, "Petar Petrovic");
      ui::Printer& p = *ui::printer();
      p.setTitle("unchanged");
      const int pagesBefore = p.pages();
      typeInto(form, "eBrojNaloga", c.typed);
      click(form, "bStampajNalog");
      EXPECT_EQ(buttonBoxes(), (std::vector<kvtest::RecordedBox>{{2, c.box}})) << c.typed;
      EXPECT_EQ(p.title(), "unchanged");
      EXPECT_EQ(p.pages(), pagesBefore);
    });
    restart();
  }
}

}  // namespace
