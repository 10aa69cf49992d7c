// The look of one form holding every standard control, grabbed on the offscreen platform and
// compared with the stored reference picture with a small tolerance (font rendering may
// differ by a shade). KV_WRITE_REFERENCE=1 writes the reference anew.
#include "uitest.h"

#include <QImage>
#include <QPixmap>

#include <cstdlib>

#include "runtime/lib/arrays.h"
#include "runtime/format/dates.h"
#include "ui/controls/button.h"
#include "ui/controls/checkbox.h"
#include "ui/controls/combobox.h"
#include "ui/controls/datetimepicker.h"
#include "ui/controls/edit.h"
#include "ui/controls/groupbox.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/controls/labelededit.h"
#include "ui/controls/memo.h"
#include "ui/controls/panel.h"
#include "ui/controls/radiobutton.h"
#include "ui/controls/speedbutton.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;

namespace {

const char* kReference = KV_TEST_DATA_DIR "/ui/all_controls.png";

class AllControls : public UiTest {
 protected:
  Value add(Value (*classFn)(), const Value& owner, int l, int t, int w, int h) {
    Value c = created(classFn, owner);
    send(c, "SetBounds", {Value(l), Value(t), Value(w), Value(h)});
    return c;
  }
};

}  // namespace

TEST_F(AllControls, OneFormWithEveryControlLooksAsItsReference) {
  Value form = created(&TForm, applicationObject());
  send(form, "SetBounds", {Value(0), Value(0), Value(640), Value(330)});
  send(form, "_Caption", {Value("Radni nalog")});
  send(send(form, "Icon"), "_Name", {Value("DAVAVODE")});

  Value label = add(&TLabel, form, 10, 12, 60, 13);
  send(label, "_Caption", {Value("Broj naloga:")});
  Value number = add(&TEdit, form, 90, 8, 90, 21);
  send(number, "_Caption", {Value::number(1234.5, 10, 2)});
  send(number, "_Picture", {Value("9,999,999.99")});
  send(number, "_Alignment", {Value(1)});
  Value named = add(&TLabeledEdit, form, 260, 8, 150, 21);
  send(named, "_LabelPosition", {Value(2)});
  send(named, "_LabelCaption", {Value("Kupac:")});
  send(named, "_Caption",
       {Value("\x8A"
              "ime \x8E"
              "ivkovi\xE6")});
  Value refresh = add(&TButton, form, 420, 8, 20, 19);
  send(refresh, "_Caption", {Value("q")});
  send(send(refresh, "Font"), "_Name", {Value("Webdings")});
  send(send(refresh, "Font"), "_Size", {Value(12)});
  Value speed = add(&TSpeedButton, form, 450, 7, 23, 22);
  Value arrow = send(send(speed, "Glyph"), "Bitmap");
  send(arrow, "_Name", {Value(32738)});
  send(arrow, "_MaskColor", {Value(32896)});

  Value memo = add(&TMemo, form, 10, 40, 200, 70);
  send(memo, "_Lines", {Value("Ekran ne radi.\r\nZamena baterije.")});
  Value ok = add(&TButton, form, 220, 40, 75, 25);
  send(ok, "_Caption", {Value("&Snimi")});
  Value check = add(&TCheckBox, form, 220, 72, 110, 17);
  send(check, "_Caption", {Value("Garancija")});
  send(check, "_Checked", {Value(true)});
  Value grayed = add(&TCheckBox, form, 220, 92, 110, 17);
  send(grayed, "_AllowGrayed", {Value(true)});
  send(grayed, "_State", {Value(2)});
  send(grayed, "_Caption",
       {Value("Pla\xE6"
              "eno")});

  Value group = add(&TGroupBox, form, 340, 36, 130, 76);
  send(group, "_Caption", {Value("Status")});
  Value r1 = add(&TRadioButton, group, 10, 20, 110, 17);
  send(r1, "_Caption", {Value("Primljen")});
  send(r1, "_Checked", {Value(true)});
  Value r2 = add(&TRadioButton, group, 10, 44, 110, 17);
  send(r2, "_Caption",
       {Value("Zavr\x9A"
              "en")});

  Value combo = add(&TComboBox, form, 10, 120, 150, 21);
  Value items = Value::newArray(0);
  for (const char* s : {"Samsung", "Nokia"}) items.arr()->items.push_back(Value(s));
  send(combo, "_Items", {items});
  send(combo, "_ItemIndex", {Value(2)});
  Value picker = add(&TDateTimePicker, form, 170, 120, 170, 21);
  send(picker, "_Date", {Value::date(julianFromCalendar(9, 12, 2026))});
  send(picker, "_Time", {Value("14:12:59")});
  Value icon = add(&TImage, form, 480, 40, 32, 32);
  send(send(send(icon, "Picture"), "Icon"), "_Name", {Value("DAVAVODE")});

  Value panel = created(&TPanel, form);
  send(panel, "_Height", {Value(56)});
  send(panel, "_Align", {Value(2)});
  send(panel, "_BevelOuter", {Value(0)});
  send(panel, "_BevelInner", {Value(0)});
  Value banner = add(&TImage, panel, 0, 0, 378, 56);
  send(banner, "_Align", {Value(4)});
  send(send(send(banner, "Picture"), "Bitmap"), "_Name", {Value("KVBANNER")});

  send(form, "Show");
  send(ok, "SetFocus");  // the numeric edit shows its whole picture without the focus
  ASSERT_TRUE(raised.empty());
  Form* f = libraryAs<Form>(form);
  const QImage shot = f->windowIfMade()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  if (const char* out = std::getenv("KV_SCREENSHOT_OUT")) shot.save(out);
  ASSERT_FALSE(shot.isNull());
  expectLikeReference(shot, kReference);
}
