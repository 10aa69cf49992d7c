// The preview control: its registration with the printer, the page it shows and the
// OnPageChanged event, the three view modes' page areas and scrolling, and screenshots of
// each mode compared with stored references (KV_WRITE_REFERENCE=1 writes them anew).
#include <QScrollBar>

#include <cstdlib>
#include <string>

#include "runtime/lang/codeblock.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"
#include "ui/printer/preview.h"
#include "ui/printer/printer.h"
#include "uitest.h"

namespace kv::ui {
namespace {

class PreviewTest : public test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = test::created(&TForm, applicationObject());
    send(form, "SetBounds", {Value(0), Value(0), Value(360), Value(440)});
    preview = test::created(&TPreview, form);
    send(preview, "SetBounds", {Value(10), Value(10), Value(300), Value(300)});
    send(form, "Show");
  }
  Preview* lib() { return libraryAs<Preview>(preview); }
  QScrollBar* bar(Qt::Orientation o) {
    for (QScrollBar* b : lib()->windowIfMade()->findChildren<QScrollBar*>()) {
      if (b->orientation() == o) return b;
    }
    return nullptr;
  }
  // A document of three pages: a framed page with a title, a page with a grid of boxes, and
  // a landscape page with a centred text.
  static void record() {
    Printer& p = *printer();
    p.beginDoc();
    p.newPage();
    p.setFont("Arial", 28, true);
    p.drawBox({10, 10, 200, 287});
    p.drawText("Nalog 00012", {10, 20, 200, 40}, 6);
    p.drawShadow({30, 60, 180, 120});
    p.drawBox({30, 60, 180, 120});
    p.drawLine({30, 150, 180, 250});
    p.newPage();
    for (int i = 0; i < 5; ++i) p.drawBox({20.0 + 30 * i, 20, 40.0 + 30 * i, 40});
    p.setOrientation(kLandscape);
    p.newPage();
    p.drawText("Polozeno", {0, 90, 297, 120}, 6);
    p.endDoc();
    p.setOrientation(kPortrait);
    p.preview();
  }
  QImage shot() {
    return lib()->windowIfMade()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  void compare(const QImage& image, const char* name) {
    test::expectLikeReference(image, QString(KV_TEST_DATA_DIR "/ui/") + name);
  }

  Value form, preview;
};

TEST_F(PreviewTest, RegistersWithThePrinterAndLeavesWhenDestroyed) {
  EXPECT_EQ(lib()->width(), 300);
  Value other = TPreview();
  send(other, "Create", {form});
  EXPECT_EQ(send(other, "Width").asInt(), 146);
  EXPECT_EQ(send(other, "Height").asInt(), 150);
  EXPECT_EQ(printer()->previews().size(), 2u);
  send(other, "Destroy");
  EXPECT_EQ(printer()->previews().size(), 1u);
}

TEST_F(PreviewTest, PageIsHeldToTheDocumentAndAnnouncesItsChange) {
  int changed = 0;
  send(preview, "_OnPageChanged", {makeBlock([&](Args) {
         ++changed;
         return Value();
       })});
  EXPECT_EQ(send(preview, "Pages").asInt(), 0);
  record();
  EXPECT_EQ(send(preview, "Pages").asInt(), 3);
  send(preview, "_Page", {Value(3)});
  EXPECT_EQ(send(preview, "Page").asInt(), 3);
  for (int bad : {0, 4, -1}) send(preview, "_Page", {Value(bad)});
  EXPECT_EQ(send(preview, "Page").asInt(), 3);
  EXPECT_EQ(changed, 1);
  // Preview puts every control back on page 1 in normal view, then runs OnPreview.
  int previewed = 0;
  send(printer()->language(), "_OnPreview", {makeBlock([&](Args) {
         ++previewed;
         return Value();
       })});
  send(preview, "ViewZoom");
  lib()->scrollTo(0, 200);
  send(printer()->language(), "Preview");
  EXPECT_EQ(send(preview, "Page").asInt(), 1);
  EXPECT_EQ(lib()->view(), Preview::View::Normal);
  EXPECT_EQ(lib()->scrollY(), 0);
  EXPECT_EQ(previewed, 1);
  EXPECT_EQ(changed, 1);
}

TEST_F(PreviewTest, PreviewWhileRecordingDoesNothing) {
  int previewed = 0;
  send(printer()->language(), "_OnPreview", {makeBlock([&](Args) {
         ++previewed;
         return Value();
       })});
  printer()->beginDoc();
  printer()->preview();
  EXPECT_EQ(previewed, 0);
  printer()->endDoc();
  printer()->preview();
  EXPECT_EQ(previewed, 1);
}

TEST_F(PreviewTest, ViewModesSizeThePageAndScrollInTheirSteps) {
  record();
  // Normal: as wide as the control less 100 pixels (and the vertical bar), scrolling
  // vertically in steps of 20.
  QRect r = lib()->pageRect();
  EXPECT_EQ(r.topLeft(), QPoint(50, 50));
  EXPECT_TRUE(bar(Qt::Vertical)->isVisibleTo(lib()->windowIfMade()));
  EXPECT_FALSE(bar(Qt::Horizontal)->isVisibleTo(lib()->windowIfMade()));
  const int normalWidth = r.width();
  EXPECT_EQ(normalWidth, 300 - 100 - bar(Qt::Vertical)->width());
  EXPECT_NEAR(r.height(), normalWidth * 297.0 / 210.0, 1.5);
  EXPECT_EQ(bar(Qt::Vertical)->singleStep(), 20);
  EXPECT_EQ(bar(Qt::Vertical)->maximum(), r.height() + 100 - 300);
  bar(Qt::Vertical)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(lib()->scrollY(), 20);
  EXPECT_EQ(lib()->pageRect().top(), 30);

  // Zoom: 1.5 times for a page taller than wide, both bars, steps of 40.
  send(preview, "ViewZoom");
  r = lib()->pageRect();
  EXPECT_EQ(lib()->scrollY(), 0);
  EXPECT_NEAR(r.width(), 1.5 * (300 - 100 - bar(Qt::Vertical)->width()), 1.5);
  EXPECT_TRUE(bar(Qt::Horizontal)->isVisibleTo(lib()->windowIfMade()));
  EXPECT_EQ(bar(Qt::Vertical)->singleStep(), 40);
  bar(Qt::Horizontal)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(lib()->scrollX(), 40);

  // Full size: the whole page within the control less 100 pixels, centred, no bars.
  send(preview, "ViewFullSize");
  r = lib()->pageRect();
  EXPECT_FALSE(bar(Qt::Vertical)->isVisibleTo(lib()->windowIfMade()));
  EXPECT_EQ(r.height(), 300 - 100);
  EXPECT_NEAR(r.width(), 200 * 210.0 / 297.0, 1.5);
  EXPECT_NEAR(r.center().x(), 150, 1);

  // A landscape page in zoom: twice the normal size.
  send(preview, "_Page", {Value(3)});
  send(preview, "ViewZoom");
  r = lib()->pageRect();
  EXPECT_GT(r.width(), r.height());
  EXPECT_NEAR(
      r.width(),
      2 * (300 - 100 -
           (bar(Qt::Vertical)->isVisibleTo(lib()->windowIfMade()) ? bar(Qt::Vertical)->width()
                                                                  : 0)),
      1.5);
}

TEST_F(PreviewTest, ScreenshotsOfTheThreeViews) {
  record();
  const QImage normal = shot();
  // The page is white where nothing is drawn, the control grey outside it.
  EXPECT_EQ(normal.pixelColor(20, 20), QColor(192, 192, 192));
  EXPECT_EQ(normal.pixelColor(60, 250), QColor(Qt::white));
  compare(normal, "preview_normal.png");
  send(preview, "ViewFullSize");
  compare(shot(), "preview_fullsize.png");
  send(preview, "ViewZoom");
  compare(shot(), "preview_zoom.png");
  send(preview, "_Page", {Value(3)});
  send(preview, "ViewFullSize");
  compare(shot(), "preview_landscape.png");
}

}  // namespace
}  // namespace kv::ui
