// Printing through a real print scheduler (the private one main() started): the printer
// list, a job named by the title with its pages on the whole sheet, copies collated and not
// through the print dialog, a cancelled dialog, and a printer that has gone away.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QSpinBox>

#include "printing/printing.h"
#include "support/pdf_layout.h"
#include "ui/printer/printer.h"
#include "ui/uitest.h"

namespace kv::ui {
namespace {

namespace fs = std::filesystem;

// Boxes of the two pages: page 1 at {20, 20, 120, 70}, page 2 at {60, 150, 160, 250}.
constexpr MmRect kBox1{20, 20, 120, 70};
constexpr MmRect kBox2{60, 150, 160, 250};

class CupsPrint : public test::UiTest {
 protected:
  void SetUp() override {
    test::UiTest::SetUp();
    if (!kvtest::cups().ok()) GTEST_SKIP() << kvtest::cups().why();
    if (!kvtest::pdfToolsPresent()) GTEST_SKIP() << "poppler-utils missing";
    work = kvtest::freshTempDir("cups_print");
  }
  void TearDown() override {
    if (!work.empty()) fs::remove_all(work);
    test::UiTest::TearDown();
  }

  // Records the two-page document under a fresh job name and answers the name.
  std::string recordTwoPages(const std::string& what) {
    Printer& p = *printer();
    const std::string name = kvtest::PrivateCups::uniqueName(what);
    p.setTitle(name);
    p.beginDoc();
    p.newPage();
    p.drawBox(kBox1);
    p.newPage();
    p.drawBox(kBox2);
    p.endDoc();
    return name;
  }

  // The job's one output file, once the scheduler is idle.
  fs::path outputOf(const std::string& job) {
    EXPECT_TRUE(kvtest::cups().waitIdle());
    const std::vector<fs::path> out = kvtest::cups().awaitOutputs(job);
    EXPECT_EQ(out.size(), 1u) << "output files of " << job;
    return out.empty() ? fs::path() : out.front();
  }

  // Which of the two boxes page `page` of `pdf` shows: 1, 2, or 0 for neither (or both).
  int boxOnPage(const fs::path& pdf, int page) {
    const kvtest::GreyPage g = kvtest::rasterPage(pdf, page, 100, work);
    if (g.empty()) return 0;
    auto sides = [&](const MmRect& r) {
      const double midY = (r.top + r.bottom) / 2;
      return g.inkNear(r.left, midY, 0.5) < 160 && g.inkNear(r.right, midY, 0.5) < 160 &&
             g.inkNear((r.left + r.right) / 2, r.top, 0.5) < 160;
    };
    const bool one = sides(kBox1), two = sides(kBox2);
    return one && !two ? 1 : two && !one ? 2 : 0;
  }

  std::vector<int> boxesOf(const fs::path& pdf) {
    std::vector<int> boxes;
    const kvtest::PdfInfo info = kvtest::pdfInfo(pdf);
    for (int i = 1; i <= info.pages; ++i) boxes.push_back(boxOnPage(pdf, i));
    return boxes;
  }

  // Answers the print dialog with `copies` and `collate` (or cancels it).
  static void answerDialog(int copies, bool collate, bool ok) {
    test::whenModal([copies, collate, ok](QWidget* w) {
      auto* dialog = qobject_cast<QDialog*>(w);
      ASSERT_NE(dialog, nullptr);
      if (ok) {
        auto* spin = dialog->findChild<QSpinBox*>("copies");
        auto* check = dialog->findChild<QCheckBox*>("collate");
        ASSERT_NE(spin, nullptr);
        ASSERT_NE(check, nullptr);
        spin->setValue(copies);
        check->setChecked(collate);
        dialog->accept();
      } else {
        dialog->reject();
      }
    });
  }

  fs::path work;
};

TEST_F(CupsPrint, PrintersAreTheSchedulersWithItsDefaultFirst) {
  Printer& p = *printer();
  EXPECT_EQ(p.printers(), std::vector<std::string>{"PDF"});
  EXPECT_EQ(p.defaultPrinter(), "PDF");
  EXPECT_EQ(p.active(), "PDF");
}

TEST_F(CupsPrint, AJobNamedByTheTitleWithItsPagesOnTheWholeSheet) {
  const std::string job = recordTwoPages("plain");
  printer()->setShowDialog(false);
  printer()->print();
  const fs::path pdf = outputOf(job);
  ASSERT_FALSE(pdf.empty());
  const kvtest::PdfInfo info = kvtest::pdfInfo(pdf);
  EXPECT_EQ(info.pages, 2);
  ASSERT_FALSE(info.sizes.empty());
  EXPECT_NEAR(info.sizes[0].widthPt, 595.3, 1.0);
  EXPECT_NEAR(info.sizes[0].heightPt, 841.9, 1.0);
  EXPECT_EQ(boxesOf(pdf), (std::vector<int>{1, 2}));
  // The box's corner, measured from the sheet's corner (not from a printable area).
  const kvtest::GreyPage g = kvtest::rasterPage(pdf, 1, 300, work);
  EXPECT_LT(g.inkNear(20, 45, 0.4), 160);
  EXPECT_EQ(g.inkNear(18.5, 45, 0.4), 255);
  const std::vector<std::string> jobs = kvtest::cups().jobNames();
  EXPECT_NE(std::find(jobs.begin(), jobs.end(), job), jobs.end());
}

TEST_F(CupsPrint, CopiesFromTheDialogCollatedAndNot) {
  test::Watchdog watchdog(20000);
  const std::string collated = recordTwoPages("collated");
  answerDialog(2, true, true);
  printer()->print();
  EXPECT_EQ(boxesOf(outputOf(collated)), (std::vector<int>{1, 2, 1, 2}));

  const std::string uncollated = recordTwoPages("uncollated");
  answerDialog(2, false, true);
  printer()->print();
  EXPECT_EQ(boxesOf(outputOf(uncollated)), (std::vector<int>{1, 1, 2, 2}));
}

TEST_F(CupsPrint, ACancelledDialogPrintsNothing) {
  test::Watchdog watchdog(20000);
  const std::string job = recordTwoPages("cancelled");
  answerDialog(1, false, false);
  printer()->print();
  EXPECT_TRUE(kvtest::cups().waitIdle());
  QTest::qWait(300);
  EXPECT_TRUE(kvtest::cups().takeOutputs(job).empty());
  const std::vector<std::string> jobs = kvtest::cups().jobNames();
  EXPECT_EQ(std::find(jobs.begin(), jobs.end(), job), jobs.end());
}

TEST_F(CupsPrint, APrinterThatHasGoneIsReportedInABox) {
  test::Watchdog watchdog(20000);
  const std::string job = recordTwoPages("gone");
  ASSERT_EQ(kvtest::cups().run("lpadmin -x PDF"), 0);
  std::string caption, text;
  test::whenModal([&](QWidget* box) {
    caption = box->windowTitle().toStdString();
    for (QLabel* l : box->findChildren<QLabel*>()) text += l->text().toStdString();
    QTest::keyClick(box, Qt::Key_Return);
  });
  printer()->setShowDialog(false);
  printer()->print();
  EXPECT_EQ(caption, "Error");
  EXPECT_NE(text.find("The printer name is invalid."), std::string::npos) << text;
  EXPECT_TRUE(kvtest::cups().takeOutputs(job).empty());
  ASSERT_EQ(
      kvtest::cups().run("lpadmin -p PDF -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd"),
      0);
  ASSERT_EQ(kvtest::cups().run("lpadmin -d PDF"), 0);
}

}  // namespace
}  // namespace kv::ui
