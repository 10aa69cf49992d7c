// A work order printed through a real print scheduler (the private one main() started) to its
// PDF queue: the job is named by the order's title, its sheet is portrait A4, and page 1,
// rasterised at 150 dpi, matches the stored picture of the sheet (KV_WRITE_REFERENCE=1 writes
// it anew) with its texts, boxes and lines where the millimetres say.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "app/core/ordersheet.h"
#include "app/ordersheetprint.h"
#include "printing/printing.h"
#include "support/pdf_layout.h"
#include "ui/printer/printer.h"
#include "ui/uitest.h"

namespace kv::app {
namespace {

namespace fs = std::filesystem;

OrderSheetData knownOrder() {
  OrderSheetData d;
  d.number = "00012";
  d.dateText = "13.02.2013";
  d.korisnik = "Petar Petrovic";
  d.aparat = "Mobilni telefon";
  d.proizvodja = "Nokia";
  d.model = "3310";
  d.serijskiBr = "354000111222333";
  d.punjac = d.baterija = true;
  d.telefonN = "ogreban poklopac";
  d.opisKvara = "Ne pali se\r\nEkran pukao\r\n";
  d.okvCena = 1500;
  d.header = {"Radionica Kalvedo", "Servis mobilnih telefona", "Glavna 1, Grad", "tel 011 123 456"};
  d.clause = "Aparat se preuzima uz ovaj nalog.\r\nNepreuzeti aparati se cuvaju 30 dana.\r\n";
  return d;
}

QImage greyImage(const kvtest::GreyPage& g) {
  QImage image(g.pixels.data(), g.width, g.height, g.width, QImage::Format_Grayscale8);
  return image.convertToFormat(QImage::Format_RGB32);
}

// The left-most and top-most dark pixel in a rectangle of the page, in millimetres.
std::pair<double, double> firstInk(const kvtest::GreyPage& g, double left, double top, double right,
                                   double bottom) {
  const double px = g.dpi / 25.4;
  int minX = g.width, minY = g.height;
  for (int y = static_cast<int>(top * px); y < static_cast<int>(bottom * px); ++y) {
    for (int x = static_cast<int>(left * px); x < static_cast<int>(right * px); ++x) {
      if (g.at(x, y) < 128) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
      }
    }
  }
  return {minX / px, minY / px};
}

// The share of the dark pixels of `a` that have no dark pixel of `b` at their place or next to it.
double inkNotIn(const kvtest::GreyPage& a, const kvtest::GreyPage& b) {
  long dark = 0, alone = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (a.at(x, y) >= 128) continue;
      ++dark;
      bool near = false;
      for (int dy = -1; dy <= 1 && !near; ++dy)
        for (int dx = -1; dx <= 1 && !near; ++dx) near = b.at(x + dx, y + dy) < 128;
      if (!near) ++alone;
    }
  }
  return dark ? static_cast<double>(alone) / dark : 1;
}

class OrderPrint : public ui::test::UiTest {
 protected:
  void SetUp() override {
    ui::test::UiTest::SetUp();
    if (!kvtest::cups().ok()) GTEST_SKIP() << kvtest::cups().why();
    if (!kvtest::pdfToolsPresent()) GTEST_SKIP() << "poppler-utils missing";
    work = kvtest::freshTempDir("order_print");
  }
  void TearDown() override {
    if (!work.empty()) fs::remove_all(work);
    ui::test::UiTest::TearDown();
  }
  fs::path work;
};

TEST_F(OrderPrint, TheSheetReachesThePrinterAsTheStoredPictureShowsIt) {
  const OrderSheetData d = knownOrder();
  const std::string job = orderSheetTitle(d);
  // An earlier run's output of the same job name would be taken for this one's.
  std::error_code ec;
  for (const fs::path& stale : kvtest::cups().takeOutputs(job)) fs::remove(stale, ec);

  ui::Printer& p = *ui::printer();
  recordOrderDocument(p, d, 1, [] {});
  p.setShowDialog(false);
  p.print();
  ASSERT_TRUE(kvtest::cups().waitIdle());
  const std::vector<fs::path> out = kvtest::cups().awaitOutputs(job);
  ASSERT_EQ(out.size(), 1u) << "output of " << job;
  const std::vector<std::string> jobs = kvtest::cups().jobNames();
  EXPECT_NE(std::find(jobs.begin(), jobs.end(), job), jobs.end());

  const kvtest::PdfInfo info = kvtest::pdfInfo(out.front());
  ASSERT_EQ(info.pages, 1);
  EXPECT_FALSE(info.sizes[0].landscape());
  EXPECT_NEAR(info.sizes[0].widthPt, 595.3, 1.0);
  EXPECT_NEAR(info.sizes[0].heightPt, 841.9, 1.0);

  // The printed page shows what was recorded, whose texts were measured in the recorded PDF:
  // the scheduler's queue redraws the texts in fonts of its own, so its output has no text to
  // read back, only ink.
  const fs::path recorded = work / "recorded.pdf";
  ASSERT_TRUE(p.toPdf(recorded.string()));
  const kvtest::GreyPage g = kvtest::rasterPage(out.front(), 1, 150, work);
  fs::create_directory(work / "recorded");
  const kvtest::GreyPage r = kvtest::rasterPage(recorded, 1, 150, work / "recorded");
  ASSERT_FALSE(g.empty());
  ASSERT_EQ(g.width, r.width);
  ASSERT_EQ(g.height, r.height);
  // The queue's glyphs are shaded differently at their edges, so ink is compared as ink: every
  // dark pixel of either page has a dark pixel of the other within one pixel (0.17 mm), but
  // for a few edge pixels of the recorded page's slightly heavier glyphs. A page moved or
  // scaled on its way leaves most of its ink alone.
  EXPECT_LT(inkNotIn(g, r), 0.01);
  EXPECT_LT(inkNotIn(r, g), 0.01);

  for (auto [x, y] : {std::pair{10.0, 30.0}, {200.0, 135.0}, {8.5, 140.0}, {201.5, 290.0}})
    EXPECT_LT(g.inkNear(x, y), 128) << x << ", " << y;
  // Where the first texts of a row begin on paper: the ink's left edge at the rectangle's left
  // (less than a letter's side bearing away), its top within the font's leading below the
  // rectangle's top.
  struct Where {
    const char* text;
    double left, top, right, bottom;
  } where[] = {{"SERVISNI NALOG", 11, 25, 30, 29.5}, {"APARAT:", 12, 31, 30, 34},
               {"Mobilni telefon", 52, 31, 80, 34},  {"1500.00", 37, 81, 60, 84},
               {"clause, line 1", 12, 86, 60, 89.5}, {"clause, line 2", 12, 90, 60, 93.5},
               {"lower APARAT:", 12, 176, 30, 179},  {"lower clause, line 2", 12, 235, 60, 238.5}};
  for (const Where& w : where) {
    const auto [x, y] = firstInk(g, w.left - 1, w.top - 0.4, w.right, w.bottom);
    EXPECT_NEAR(x, w.left + 0.2, 0.4) << w.text;
    EXPECT_NEAR(y, w.top + 0.6, 0.5) << w.text;
    RecordProperty(w.text, std::to_string(x) + "," + std::to_string(y));
    std::printf("measured %-22s left %6.2f top %6.2f (rectangle %g, %g)\n", w.text, x, y, w.left,
                w.top);
  }

  ui::test::expectLikeReference(greyImage(g), KV_TEST_DATA_DIR "/ui/order_sheet_150dpi.png", 48,
                                0.003);
}

}  // namespace
}  // namespace kv::app
