// The printer's PDF output, read back from outside with the PDF tools: page sizes and
// orientations, the document information, where text and boxes land in millimetres, and
// what a failed output leaves behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/files.h"
#include "support/pdf_layout.h"
#include "ui/forms/application.h"
#include "ui/printer/printer.h"
#include "uitest.h"

namespace kv::ui {
namespace {

namespace fs = std::filesystem;

class PrinterPdf : public test::UiTest {
 protected:
  void SetUp() override {
    test::UiTest::SetUp();
    if (!kvtest::pdfToolsPresent()) GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) missing";
    dir = kvtest::freshTempDir("printer_pdf");
  }
  void TearDown() override {
    if (!dir.empty()) fs::remove_all(dir);
    test::UiTest::TearDown();
  }
  std::string file(const char* name) const { return (dir / name).string(); }
  // The dark run along row y (mm) of a page: its first and last dark pixel, in mm.
  static std::pair<double, double> darkRun(const kvtest::GreyPage& g, double yMm) {
    const double px = g.dpi / 25.4;
    const int y = static_cast<int>(yMm * px);
    int first = -1, last = -1;
    for (int x = 0; x < g.width; ++x) {
      if (g.at(x, y) < 160) {
        if (first < 0) first = x;
        last = x;
      }
    }
    return {first / px, (last + 1) / px};
  }

  fs::path dir;
};

TEST_F(PrinterPdf, A4PageWithTextAndBoxWhereTheMillimetresSay) {
  Printer& p = *printer();
  p.setTitle("Nalog 12");
  p.beginDoc();
  p.newPage();
  p.setFont("Arial", 10, false);
  p.drawText("Kalvedo", {20, 30, 100, 40}, 0);
  p.drawText("Desno", {20, 50, 100, 60}, 2);
  p.drawText("Sredina", {20, 70, 100, 80}, 6);
  p.drawBox({50, 100, 150, 150});
  p.drawLine({10, 200, 110, 200});
  p.endDoc();
  ASSERT_TRUE(p.toPdf(file("a4.pdf")));

  const kvtest::PdfInfo info = kvtest::pdfInfo(dir / "a4.pdf");
  ASSERT_TRUE(info.ok);
  EXPECT_EQ(info.pages, 1);
  ASSERT_EQ(info.sizes.size(), 1u);
  EXPECT_NEAR(info.sizes[0].widthPt, 595.3, 0.5);
  EXPECT_NEAR(info.sizes[0].heightPt, 841.9, 0.5);
  EXPECT_EQ(info.title, "Nalog 12");

  const kvtest::PdfPageText text = kvtest::pdfPageText(dir / "a4.pdf", 1);
  const kvtest::PdfText* left = kvtest::findWord(text, "Kalvedo");
  ASSERT_NE(left, nullptr);
  EXPECT_NEAR(left->left, 20, 0.5);
  EXPECT_NEAR(left->top, 30, 0.5);
  const kvtest::PdfText* right = kvtest::findWord(text, "Desno");
  ASSERT_NE(right, nullptr);
  EXPECT_NEAR(right->right, 100, 0.5);
  EXPECT_NEAR(right->top, 50, 0.5);
  const kvtest::PdfText* centre = kvtest::findWord(text, "Sredina");
  ASSERT_NE(centre, nullptr);
  EXPECT_NEAR((centre->left + centre->right) / 2, 60, 0.5);
  RecordProperty("text_top_left_mm", std::to_string(left->left) + "," + std::to_string(left->top));

  const kvtest::GreyPage g = kvtest::rasterPage(dir / "a4.pdf", 1, 300, dir);
  ASSERT_FALSE(g.empty());
  const auto [boxLeft, boxRight] = darkRun(g, 125);  // the box's sides at mid-height
  EXPECT_NEAR(boxLeft, 50, 0.2);
  EXPECT_NEAR(boxRight - boxLeft, 100, 0.2);
  const auto [lineLeft, lineRight] = darkRun(g, 200);
  EXPECT_NEAR(lineLeft, 10, 0.2);
  EXPECT_NEAR(lineRight - lineLeft, 100, 0.2);
  EXPECT_EQ(g.inkShare(60, 110, 140, 140), 0);  // the box is filled white
}

TEST_F(PrinterPdf, CreatorIsTheApplicationsTitle) {
  ASSERT_NE(application(), nullptr);
  application()->title = "Kalvedo";
  Printer& p = *printer();
  p.beginDoc();
  p.newPage();
  p.endDoc();
  ASSERT_TRUE(p.toPdf(file("creator.pdf")));
  const kvtest::PdfInfo info = kvtest::pdfInfo(dir / "creator.pdf");
  EXPECT_EQ(info.creator, "Kalvedo");
  EXPECT_EQ(info.title, "");
}

TEST_F(PrinterPdf, LandscapePagesAreLandscapeAndEachPageKeepsItsOrientation) {
  Printer& p = *printer();
  p.beginDoc();
  p.setOrientation(kLandscape);
  p.newPage();
  p.drawText("Wide", {250, 180, 290, 200}, 0);
  p.setOrientation(kPortrait);
  p.newPage();
  p.setOrientation(kLandscape);
  p.newPage();
  p.endDoc();
  p.setOrientation(kPortrait);
  ASSERT_TRUE(p.toPdf(file("land.pdf")));
  const kvtest::PdfInfo info = kvtest::pdfInfo(dir / "land.pdf");
  ASSERT_EQ(info.sizes.size(), 3u);
  EXPECT_TRUE(info.sizes[0].landscape());
  EXPECT_NEAR(info.sizes[0].widthPt, 841.9, 0.5);
  EXPECT_FALSE(info.sizes[1].landscape());
  EXPECT_TRUE(info.sizes[2].landscape());
  const kvtest::PdfPageText first = kvtest::pdfPageText(dir / "land.pdf", 1);
  const kvtest::PdfText* wide = kvtest::findWord(first, "Wide");
  ASSERT_NE(wide, nullptr);
  EXPECT_NEAR(wide->left, 250, 0.5);
  EXPECT_NEAR(wide->top, 180, 0.5);
  // The last page's orientation stays set.
  EXPECT_EQ(p.orientation(), kLandscape);
}

TEST_F(PrinterPdf, NoPageGivesOneEmptyPageOfThePaper) {
  Printer& p = *printer();
  p.setPageSize(5);  // A5
  ASSERT_TRUE(p.toPdf(file("empty.pdf")));
  const kvtest::PdfInfo info = kvtest::pdfInfo(dir / "empty.pdf");
  EXPECT_EQ(info.pages, 1);
  ASSERT_EQ(info.sizes.size(), 1u);
  EXPECT_NEAR(info.sizes[0].widthPt, 148 / kvtest::kMmPerPoint, 0.5);
  EXPECT_NEAR(info.sizes[0].heightPt, 210 / kvtest::kMmPerPoint, 0.5);
}

TEST_F(PrinterPdf, ClippedTextIsCutAtTheRectanglesEdge) {
  Printer& p = *printer();
  p.beginDoc();
  p.newPage();
  p.setFont("Arial", 20, true);
  p.drawText("WWWWWWWWWWWWWWWWWWWW", {20, 30, 50, 45}, 0);
  p.endDoc();
  ASSERT_TRUE(p.toPdf(file("clip.pdf")));
  const kvtest::GreyPage g = kvtest::rasterPage(dir / "clip.pdf", 1, 200, dir);
  ASSERT_FALSE(g.empty());
  EXPECT_GT(g.inkShare(20, 30, 50, 45), 0.05);
  EXPECT_EQ(g.inkShare(50.3, 25, 150, 50), 0);
}

TEST_F(PrinterPdf, FailuresAnswerFalseAndLeaveNothingBehind) {
  Printer& p = *printer();
  p.beginDoc();
  p.newPage();
  p.drawBox({10, 10, 20, 20});
  p.endDoc();
  const fs::path here = fs::current_path();
  const auto before = std::distance(fs::directory_iterator(here), fs::directory_iterator());
  EXPECT_FALSE(p.toPdf(""));
  EXPECT_FALSE(send(p.language(), "ToPDF", {Value("")}).asBool());
  EXPECT_FALSE(p.toPdf(file("missing/dir/out.pdf")));
  EXPECT_FALSE(fs::exists(dir / "missing"));
  EXPECT_EQ(std::distance(fs::directory_iterator(here), fs::directory_iterator()), before);
  // A directory in the file's place: nothing is made, the directory stays.
  fs::create_directory(dir / "taken.pdf");
  EXPECT_FALSE(p.toPdf(file("taken.pdf")));
  EXPECT_TRUE(fs::is_directory(dir / "taken.pdf"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  // A good output over an existing file replaces it whole.
  kvtest::writeFile(dir / "old.pdf", "old");
  EXPECT_TRUE(send(p.language(), "ToPDF", {Value(file("old.pdf"))}).asBool());
  EXPECT_EQ(kvtest::pdfInfo(dir / "old.pdf").pages, 1);
}

}  // namespace
}  // namespace kv::ui
