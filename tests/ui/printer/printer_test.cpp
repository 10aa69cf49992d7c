// The printer: paper geometry, recording, the page order of a job, and the printer's language
// messages.
#include <gtest/gtest.h>

#include "ui/printer/papergeometry.h"
#include "ui/printer/printer.h"
#include "ui/printer/printjob.h"
#include "ui/core/devicecontext.h"
#include "uitest.h"

namespace kv::ui {
namespace {

struct GeometryCase {
  int value, orientation;
  int logicalWidth, logicalHeight, convWidth, convHeight, paperCode;
};

class PaperGeometry : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(PaperGeometry, LogicalAndConversionSizes) {
  const GeometryCase& c = GetParam();
  const PageGeometry g = pageGeometry(c.value, 150, 100, c.orientation);
  EXPECT_EQ(g.logicalWidth, c.logicalWidth);
  EXPECT_EQ(g.logicalHeight, c.logicalHeight);
  EXPECT_EQ(g.convWidth, c.convWidth);
  EXPECT_EQ(g.convHeight, c.convHeight);
  EXPECT_EQ(g.paperCode, c.paperCode);
}

INSTANTIATE_TEST_SUITE_P(
    Papers, PaperGeometry,
    ::testing::Values(GeometryCase{4, kPortrait, 16932, 23947, 210, 297, 9},   // A4
                      GeometryCase{4, kLandscape, 23947, 16932, 297, 210, 9},  // swapped
                      GeometryCase{1, kPortrait, 17408, 22528, 215, 279, 1},   // letter
                      GeometryCase{3, kPortrait, 23947, 33864, 297, 420, 8},   // A3
                      GeometryCase{12, kPortrait, 34816, 22528, 431, 279, 4},  // wider than tall
                      GeometryCase{0, kPortrait, 12094, 8062, 150, 100, 0},    // custom
                      GeometryCase{0, kLandscape, 8062, 12094, 100, 150, 0},
                      GeometryCase{32, kPortrait, 0, 0, 0, 0, 0},  // no such paper
                      GeometryCase{-1, kPortrait, 0, 0, 0, 0, 0}));

TEST(PaperGeometryConversion, TruncatesAndGivesZeroOnAPageOfNoSize) {
  const PageGeometry a4 = pageGeometry(kPaperA4, 0, 0, kPortrait);
  EXPECT_EQ(a4.toLogicalX(10), 806);
  EXPECT_EQ(a4.toLogicalY(20), 1612);
  EXPECT_EQ(a4.toLogicalX(210), 16932);
  EXPECT_EQ(a4.toLogicalY(297), 23947);
  const PageGeometry none = pageGeometry(40, 0, 0, kPortrait);
  EXPECT_EQ(none.toLogicalX(10), 0);
  EXPECT_EQ(none.toLogicalY(10), 0);
}

struct SequenceCase {
  int from, to, pageCount, copies;
  bool collate;
  std::vector<int> pages;
};

class PrintSequence : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(PrintSequence, PagesInJobOrder) {
  const SequenceCase& c = GetParam();
  EXPECT_EQ(printSequence(c.from, c.to, c.pageCount, c.copies, c.collate), c.pages);
}

INSTANTIATE_TEST_SUITE_P(
    Jobs, PrintSequence,
    ::testing::Values(SequenceCase{1, 2, 2, 2, true, {1, 2, 1, 2}},
                      SequenceCase{1, 2, 2, 2, false, {1, 1, 2, 2}},
                      SequenceCase{2, 3, 4, 1, true, {2, 3}},
                      SequenceCase{1, 9, 3, 1, false, {1, 2, 3}},  // held to the document
                      SequenceCase{0, 1, 1, 0, true, {1}},         // no copies: one
                      SequenceCase{3, 2, 4, 1, true, {}}, SequenceCase{1, 0, 0, 1, true, {}}));

class PrinterTest : public test::UiTest {
 protected:
  static Value obj() { return printer() ? printer()->language() : Value(); }
  static Value numbers(std::initializer_list<double> n) {
    Value a = Value::newArray();
    for (double d : n) a.arr()->items.push_back(Value(d));
    return a;
  }
};

TEST_F(PrinterTest, IsOneObjectWithItsDefaults) {
  ASSERT_NE(printer(), nullptr);
  EXPECT_EQ(libraryOf(TPrinter()), printer());
  Value p = obj();
  EXPECT_EQ(send(p, "PageSize").asInt(), 4);
  EXPECT_EQ(send(p, "Orientation").asInt(), 0);
  EXPECT_EQ(send(p, "PageWidth").asInt(), 210);
  EXPECT_EQ(send(p, "PageHeight").asInt(), 297);
  EXPECT_TRUE(send(p, "ShowDialog").asBool());
  EXPECT_FALSE(send(p, "Transparent").asBool());
  EXPECT_EQ(send(p, "Title").str(), "");
  EXPECT_EQ(send(send(p, "Pen"), "Width").asInt(), 6);
  EXPECT_EQ(send(p, "PageNumber").asInt(), 0);
}

TEST_F(PrinterTest, Millimeter2PrinterConvertsOddValuesAsXAndEvenAsY) {
  Value r = send(obj(), "Millimeter2Printer", {numbers({10, 20, 210, 297, 5})});
  ASSERT_TRUE(r.isArray());
  std::vector<int> got;
  for (const Value& v : r.arr()->items) got.push_back(v.asInt());
  EXPECT_EQ(got, (std::vector<int>{806, 1612, 16932, 23947, 403}));
  send(obj(), "_Orientation", {Value(1)});
  r = send(obj(), "Millimeter2Printer", {numbers({10, 20})});
  EXPECT_EQ(r.arr()->items[0].asInt(), 806);   // 10 x 23947 / 297
  EXPECT_EQ(r.arr()->items[1].asInt(), 1612);  // 20 x 16932 / 210
}

TEST_F(PrinterTest, BeginDocTwiceKeepsThePagesDrawnAfterTheFirst) {
  Printer& p = *printer();
  EXPECT_TRUE(p.beginDoc());
  p.newPage();
  p.drawBox({10, 10, 50, 50});
  EXPECT_FALSE(p.beginDoc());
  p.newPage();
  p.endDoc();
  EXPECT_FALSE(p.recording());
  EXPECT_EQ(p.pages(), 2);
  EXPECT_EQ(p.document().pages().size(), 2u);
  EXPECT_FALSE(p.document().pages()[0].picture.isNull());
  // A new document drops the old pages.
  p.beginDoc();
  EXPECT_EQ(p.pages(), 0);
  p.endDoc();
  EXPECT_EQ(p.document().pages().size(), 0u);
}

TEST_F(PrinterTest, DrawingWithoutAnOpenPageAndShortRectanglesDoNothing) {
  Printer& p = *printer();
  p.drawBox({10, 10, 50, 50});  // no document
  p.beginDoc();
  p.drawText("x", {10, 10, 50, 50}, 0);  // no page yet
  EXPECT_EQ(p.handle(), 0);
  p.newPage();
  EXPECT_NE(p.handle(), 0);
  send(obj(), "DrawBox", {numbers({10, 10, 50})});
  send(obj(), "DrawText", {Value("x"), numbers({1, 2, 3})});
  p.endDoc();
  EXPECT_EQ(p.handle(), 0);
  ASSERT_EQ(p.document().pages().size(), 1u);
  EXPECT_TRUE(p.document().pages()[0].picture.boundingRect().isEmpty());
}

TEST_F(PrinterTest, PaperIsFixedWhileRecordingAndCustomSizesKeepTheOtherSide) {
  Value p = obj();
  send(p, "BeginDoc");
  send(p, "_PageSize", {Value(3)});
  send(p, "_PageWidth", {Value(100)});
  EXPECT_EQ(send(p, "PageSize").asInt(), 4);
  EXPECT_EQ(send(p, "PageWidth").asInt(), 210);
  send(p, "EndDoc");
  send(p, "_PageWidth", {Value(100)});
  EXPECT_EQ(send(p, "PageSize").asInt(), 0);
  EXPECT_EQ(send(p, "PageWidth").asInt(), 100);
  EXPECT_EQ(send(p, "PageHeight").asInt(), 297);
  EXPECT_EQ(printer()->geometry().logicalWidth, 8062);
}

TEST_F(PrinterTest, ActiveTakesOnlyAnInstalledPrinter) {
  Value p = obj();
  const std::string before(send(p, "Active").str());
  send(p, "_Active", {Value("no such printer")});
  EXPECT_EQ(send(p, "Active").str(), before);
  EXPECT_EQ(send(p, "Default").str(), before);
  EXPECT_EQ(send(p, "Printers").arrayLen(), printer()->printers().size());
}

TEST_F(PrinterTest, PrintWhileRecordingDoesNothingAndWithoutPrinterWarns) {
  if (!printer()->printers().empty()) GTEST_SKIP() << "this machine lists printers";
  Printer& p = *printer();
  p.beginDoc();
  p.newPage();
  ::testing::internal::CaptureStderr();
  p.print();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  p.endDoc();
  ::testing::internal::CaptureStderr();
  p.print();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), std::string(kNoPrinterWarning) + "\n");
}

TEST_F(PrinterTest, ToolChangesReachThePageBeingRecorded) {
  Printer& p = *printer();
  p.beginDoc();
  p.newPage();
  QPainter* painter = nullptr;
  for (int h = 1; h < 100000 && !painter; ++h) {
    if (h == p.handle()) painter = painterOf(h);
  }
  ASSERT_NE(painter, nullptr);
  p.setFont("Arial", 12, true);
  EXPECT_EQ(painter->font().pixelSize(), 12 * 2048 / 72);
  EXPECT_TRUE(painter->font().bold());
  send(send(obj(), "Pen"), "_Width", {Value(20)});
  EXPECT_EQ(painter->pen().width(), 20);
  send(obj(), "_Transparent", {Value(true)});
  EXPECT_EQ(painter->backgroundMode(), Qt::TransparentMode);
  p.endDoc();
}

TEST_F(PrinterTest, PlayEnhHandleReplacesTheOpenPage) {
  Printer& p = *printer();
  p.beginDoc();
  p.newPage();
  p.drawBox({10, 10, 200, 280});
  const int h = p.beginEnhHandle();
  QPainter* enh = painterOf(h);
  ASSERT_NE(enh, nullptr);
  enh->drawRect(QRect(100, 100, 50, 50));
  p.playEnhHandle();
  EXPECT_EQ(painterOf(h), nullptr);
  p.endDoc();
  ASSERT_EQ(p.document().pages().size(), 1u);
  EXPECT_TRUE(p.document().pages()[0].enhanced);
  EXPECT_LT(p.document().pages()[0].picture.boundingRect().width(), 1000);
}

}  // namespace
}  // namespace kv::ui
