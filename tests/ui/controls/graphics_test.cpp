// Graphics objects and the controls that show them: colours, fonts, the cursor table, the
// program's artwork, speed-button glyphs with their mask colour, image pictures, alignment
// of a bottom panel with a right-aligned image, timers, date-time pickers, the colour dialog.
#include "uitest.h"

#include <QColorDialog>
#include <QDateTimeEdit>
#include <QLabel>
#include <QPushButton>

#include "runtime/format/dates.h"
#include "ui/controls/datetimepicker.h"
#include "ui/controls/image.h"
#include "ui/controls/panel.h"
#include "ui/controls/speedbutton.h"
#include "ui/controls/timer.h"
#include "ui/core/fonts.h"
#include "ui/dialogs/colordialog.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"
#include "ui/graphics/artwork.h"
#include "ui/graphics/colors.h"
#include "ui/graphics/cursor.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;

namespace {

class Graphics : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = created(&TForm, applicationObject());
    send(form, "SetBounds", {Value(0), Value(0), Value(810), Value(300)});
  }
  static QWidget* w(const Value& c) { return libraryAs<WinControl>(c)->windowIfMade(); }
  Value form;
};

TEST(Colors, NumberFormAndSystemColours) {
  EXPECT_EQ(colorOf(16777215), QColor(255, 255, 255));
  EXPECT_EQ(colorOf(32896), QColor(128, 128, 0));
  EXPECT_EQ(colorOf(255), QColor(255, 0, 0));
  EXPECT_EQ(colorNumber(QColor(0, 0, 255)), 16711680);
  // A negative number names a system colour by its low byte: 15 button face, 8 window text.
  EXPECT_EQ(colorOf(-16777201), QApplication::palette().color(QPalette::Button));
  EXPECT_EQ(colorOf(static_cast<int>(0x80000008u)),
            QApplication::palette().color(QPalette::WindowText));
}

TEST_F(Graphics, ArtworkIsCompiledIn) {
  const QImage banner = resourceBitmap("KVBANNER");
  EXPECT_EQ(banner.size(), QSize(378, 56));
  EXPECT_FALSE(resourceIcon("davavode").isNull());
  EXPECT_FALSE(systemBitmap(32738).isNull());
  EXPECT_TRUE(systemBitmap(32739).isNull());
  bool found = false;
  const QCursor hand = resourceCursor("crHandPoint", &found);
  EXPECT_TRUE(found);
  EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
  EXPECT_EQ(hand.hotSpot(), QPoint(6, 1));
  EXPECT_EQ(cursorOfCode(-21).shape(), Qt::BitmapCursor);
  EXPECT_EQ(cursorOfCode(-4).shape(), Qt::IBeamCursor);
  EXPECT_EQ(cursorOfCode(-11).shape(), Qt::WaitCursor);
  EXPECT_EQ(symbolText("Webdings", "q"), QString(QChar(0x21BB)));
  EXPECT_EQ(symbolText("Arial", "q"), "q");
}

TEST_F(Graphics, SpeedButtonGlyphWithTransparentMask) {
  Value b = created(&TSpeedButton, form);
  Value glyph = send(b, "Glyph");
  Value bitmap = send(glyph, "Bitmap");
  send(bitmap, "_Name", {Value(32738)});
  send(bitmap, "_MaskColor", {Value(32896)});
  send(b, "_TabStop", {Value(false)});
  send(form, "Show");
  auto* pb = qobject_cast<QPushButton*>(w(b));
  ASSERT_NE(pb, nullptr);
  ASSERT_FALSE(pb->icon().isNull());
  const QImage img = pb->icon().pixmap(pb->iconSize()).toImage();
  EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);             // the olive background is transparent
  EXPECT_EQ(img.pixel(8, 7) & 0xFFFFFF, 0x000000u);  // the arrow is drawn
  EXPECT_EQ(send(bitmap, "Width").asInt(), 16);
  send(b, "_Glyph", {Value(1)});  // read-only
  ASSERT_EQ(raised.size(), 1u);
}

TEST_F(Graphics, BottomPanelWithRightAlignedBanner) {
  Value panel = created(&TPanel, form);
  send(panel, "_Height", {Value(56)});
  send(panel, "_Align", {Value(2)});
  send(panel, "_BevelOuter", {Value(0)});
  Value image = created(&TImage, panel);
  send(image, "SetBounds", {Value(416), Value(0), Value(378), Value(56)});
  send(image, "_Align", {Value(4)});
  send(send(send(image, "Picture"), "Bitmap"), "_Name", {Value("KVBANNER")});
  send(form, "Show");
  Form* f = libraryAs<Form>(form);
  Panel* p = libraryAs<Panel>(panel);
  Image* i = libraryAs<Image>(image);
  EXPECT_EQ(p->top() + p->height(), f->clientHeight());
  EXPECT_EQ(p->width(), f->clientWidth());
  EXPECT_EQ(i->left() + i->width(), p->clientWidth());
  EXPECT_EQ(i->height(), 56);
  ASSERT_FALSE(qobject_cast<QLabel*>(w(image))->pixmap().isNull());
  // Narrower form: the panel follows, the image stays at the right edge.
  send(form, "SetBounds", {Value(0), Value(0), Value(600), Value(300)});
  EXPECT_EQ(i->left() + i->width(), p->clientWidth());
  EXPECT_TRUE(raised.empty());
}

TEST_F(Graphics, FontsAndCursorsReachTheWidgets) {
  Value panel = created(&TPanel, form);
  Value font = send(panel, "Font");
  send(font, "_Size", {Value(12)});
  send(font, "_Bold", {Value(true)});
  send(font, "_Color", {Value(255)});
  send(form, "Show");
  EXPECT_EQ(w(panel)->font().pointSize(), 12);
  EXPECT_TRUE(w(panel)->font().bold());
  EXPECT_EQ(w(panel)->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(send(font, "Name").str(), "MS Sans Serif");
  EXPECT_EQ(send(font, "Height").asInt(), -16);
  send(send(panel, "Cursor"), "_Name", {Value(-21)});
  EXPECT_EQ(w(panel)->cursor().shape(), Qt::BitmapCursor);
  send(send(panel, "Brush"), "_Color", {Value(32896)});
  EXPECT_EQ(w(panel)->palette().color(QPalette::Window), QColor(128, 128, 0));
  send(panel, "_Font", {font});
  send(panel, "_Cursor", {Value(0)});
  send(panel, "_Brush", {Value(0)});
  EXPECT_EQ(raised.size(), 3u);  // all three are read-only

  send(send(form, "Icon"), "_Name", {Value("DAVAVODE")});
  EXPECT_FALSE(w(form)->windowIcon().isNull());
}

TEST_F(Graphics, TimerFiresAndRestartsWithANewInterval) {
  Watchdog dog;
  Value timer = created(&TTimer, form);
  Timer* t = libraryAs<Timer>(timer);
  EXPECT_EQ(send(timer, "Interval").asInt(), 1000);
  int ticks = 0;
  send(timer, "_Interval", {Value(20)});
  EXPECT_FALSE(t->running());  // no OnTimer yet
  send(timer, "_OnTimer", {makeBlock([&](Args) {
         if (++ticks == 3) send(timer, "_Enabled", {Value(false)});
         return Value();
       })});
  EXPECT_TRUE(t->running());
  while (ticks < 3 && !terminated()) messageStep();
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(t->running());
  send(timer, "_Enabled", {Value(true)});
  send(timer, "_Interval", {Value(10000)});
  EXPECT_TRUE(t->running());
  send(timer, "Destroy");
}

TEST_F(Graphics, DateTimePickerKeepsDateAndTime) {
  Value picker = created(&TDateTimePicker, form);
  const int d = julianFromCalendar(9, 12, 2026);
  send(picker, "_Date", {Value::date(d)});
  send(picker, "_Time", {Value("14:12:59")});
  send(form, "Show");
  auto* e = qobject_cast<QDateTimeEdit*>(w(picker));
  EXPECT_EQ(e->dateTime(), QDateTime(QDate(2026, 12, 9), QTime(14, 12, 59)));
  EXPECT_EQ(send(picker, "Date").julian(), d);
  EXPECT_EQ(send(picker, "Time").str(), "14:12:59");
  int changes = 0;
  send(picker, "_OnChange", {makeBlock([&](Args) {
         ++changes;
         return Value();
       })});
  send(picker, "SetFocus");
  e->setSelectedSection(QDateTimeEdit::DaySection);
  QTest::keyClick(e, Qt::Key_Up);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(send(picker, "Date").julian(), d + 1);
}

TEST_F(Graphics, ColorDialogOkStoresTheColourCancelKeepsIt) {
  Watchdog dog;
  send(form, "Show");
  Value dlg = created(&TColorDialog, form);
  send(dlg, "_Color", {Value(32896)});
  send(dlg, "_Caption", {Value("Boja")});
  QColor started;
  QString title;
  bool formBlocked = false;
  whenModal([&](QWidget* m) {
    auto* cd = qobject_cast<QColorDialog*>(m);
    ASSERT_NE(cd, nullptr);
    started = cd->currentColor();
    title = cd->windowTitle();
    formBlocked = !libraryAs<Form>(form)->windowAcceptsInput();
    QColorDialog::setCustomColor(0, QColor(1, 2, 3));
    cd->setCurrentColor(QColor(0, 0, 255));
    cd->accept();
  });
  EXPECT_TRUE(send(dlg, "Execute").asBool());
  EXPECT_EQ(started, QColor(128, 128, 0));
  EXPECT_EQ(title, "Boja");
  EXPECT_TRUE(formBlocked);
  EXPECT_TRUE(libraryAs<Form>(form)->windowAcceptsInput());
  EXPECT_EQ(send(dlg, "Color").asInt(), 16711680);
  whenModal([](QWidget* m) { qobject_cast<QDialog*>(m)->reject(); });
  EXPECT_FALSE(send(dlg, "Execute").asBool());
  EXPECT_EQ(send(dlg, "Color").asInt(), 16711680);
  EXPECT_EQ(QColorDialog::customColor(0), QColor(1, 2, 3));  // kept for the process
}

}  // namespace
