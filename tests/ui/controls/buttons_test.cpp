// Check boxes, radio buttons and combo boxes clicked and keyed as a user does; tab order over
// a form of a dozen controls.
#include "uitest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

#include "runtime/lib/arrays.h"
#include "ui/controls/button.h"
#include "ui/controls/checkbox.h"
#include "ui/controls/combobox.h"
#include "ui/controls/edit.h"
#include "ui/controls/groupbox.h"
#include "ui/controls/label.h"
#include "ui/controls/radiobutton.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;

namespace {

class Choices : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = created(&TForm, applicationObject());
    send(form, "SetBounds", {Value(0), Value(0), Value(400), Value(300)});
  }
  void show() {
    send(form, "Show");
    libraryAs<Form>(form)->window()->activateWindow();
  }
  static QWidget* w(const Value& c) { return libraryAs<WinControl>(c)->windowIfMade(); }
  static void click(const Value& c) { QTest::mouseClick(w(c), Qt::LeftButton, {}, QPoint(5, 5)); }
  Value form;
};

TEST_F(Choices, CheckBoxStateCycleWithAndWithoutAllowGrayed) {
  Value box = created(&TCheckBox, form);
  send(box, "_Caption", {Value("Garancija")});
  std::vector<std::string> events;
  send(box, "_OnClick", {makeBlock([&](Args) {
         events.push_back("click " + std::to_string(send(box, "State").asInt()));
         return Value();
       })});
  send(box, "_OnChange", {makeBlock([&](Args) {
         events.push_back("change");
         return Value();
       })});
  show();
  click(box);
  EXPECT_EQ(send(box, "State").asInt(), 1);
  click(box);
  EXPECT_EQ(send(box, "State").asInt(), 0);
  EXPECT_EQ(events, (std::vector<std::string>{"click 1", "change", "click 0", "change"}));
  send(box, "_State", {Value(2)});  // not allowed: checked instead
  EXPECT_EQ(send(box, "State").asInt(), 1);
  EXPECT_TRUE(send(box, "Checked").asBool());

  send(box, "_AllowGrayed", {Value(true)});
  send(box, "_State", {Value(0)});
  const int cycle[] = {2, 1, 0, 2};
  for (int expected : cycle) {
    click(box);
    EXPECT_EQ(send(box, "State").asInt(), expected);
  }
  EXPECT_EQ(qobject_cast<QCheckBox*>(w(box))->checkState(), Qt::PartiallyChecked);
  send(box, "SetFocus");
  QTest::keyClick(w(box), Qt::Key_Space);
  EXPECT_EQ(send(box, "State").asInt(), 1);
  EXPECT_EQ(qobject_cast<QCheckBox*>(w(box))->checkState(), Qt::Checked);
}

TEST_F(Choices, RadioGroupsWithAutoTrueAndFalse) {
  Value group = created(&TGroupBox, form);
  send(group, "_Caption", {Value("Status")});
  Value r[3];
  for (int i = 0; i < 3; ++i) {
    r[i] = created(&TRadioButton, group);
    send(r[i], "SetBounds", {Value(10), Value(20 + 20 * i), Value(100), Value(17)});
  }
  Value outside = created(&TRadioButton, form);  // another parent: another group
  send(outside, "SetBounds", {Value(200), Value(20), Value(100), Value(17)});
  send(outside, "_Checked", {Value(true)});
  show();
  int clicks = 0;
  send(r[0], "_OnClick", {makeBlock([&](Args) {
         ++clicks;
         return Value();
       })});
  click(r[0]);
  click(r[1]);
  EXPECT_FALSE(send(r[0], "Checked").asBool());
  EXPECT_TRUE(send(r[1], "Checked").asBool());
  EXPECT_TRUE(send(outside, "Checked").asBool());
  click(r[1]);  // already checked: stays checked
  EXPECT_TRUE(send(r[1], "Checked").asBool());
  click(r[0]);
  EXPECT_EQ(clicks, 2);

  send(r[2], "_Auto", {Value(false)});
  click(r[2]);
  EXPECT_TRUE(send(r[2], "Checked").asBool());
  EXPECT_TRUE(send(r[0], "Checked").asBool());  // an Auto false button clears nothing
  click(r[2]);
  EXPECT_FALSE(send(r[2], "Checked").asBool());
  send(r[1], "_Checked", {Value(true)});
  EXPECT_FALSE(send(r[0], "Checked").asBool());
  EXPECT_FALSE(qobject_cast<QRadioButton*>(w(r[0]))->isChecked());
}

TEST_F(Choices, ComboBoxItemsAndItemIndex) {
  Value combo = created(&TComboBox, form);
  Value items = Value::newArray(0);
  for (const char* s : {"Samsung", "Nokia", "\x8Akoda"}) items.arr()->items.push_back(Value(s));
  send(combo, "_Items", {items});
  show();
  auto* qc = qobject_cast<QComboBox*>(w(combo));
  ASSERT_EQ(qc->count(), 3);
  EXPECT_EQ(qc->itemText(2), QString::fromUtf8("Škoda"));
  EXPECT_EQ(send(combo, "ItemIndex").asInt(), 0);
  send(combo, "_ItemIndex", {Value(2)});
  EXPECT_EQ(qc->currentIndex(), 1);
  Value back = send(combo, "Items");
  ASSERT_TRUE(back.isArray());
  EXPECT_NE(back.arr(), items.arr());
  EXPECT_EQ(back.arr()->items[2].str(), "\x8Akoda");

  int changes = 0;
  send(combo, "_OnChange", {makeBlock([&](Args) {
         ++changes;
         return Value();
       })});
  send(combo, "SetFocus");
  QTest::keyClick(qc, Qt::Key_Down);
  EXPECT_EQ(send(combo, "ItemIndex").asInt(), 3);
  EXPECT_EQ(changes, 1);
  send(combo, "_ItemIndex", {Value(0)});
  EXPECT_EQ(qc->currentIndex(), -1);
  EXPECT_EQ(changes, 1);

  items.arr()->items[1] = Value(5);  // ends the list there, then 6001
  send(combo, "_Items", {items});
  EXPECT_EQ(qc->count(), 1);
  send(combo, "_Items", {Value("Nokia")});
  EXPECT_EQ(qc->count(), 1);
  ASSERT_EQ(raised.size(), 2u);
  EXPECT_EQ(raised[0].subCode, 6001);
  EXPECT_EQ(raised[1].subCode, 6001);
}

TEST_F(Choices, TabOrderOverADozenControls) {
  // 0 edit, 1 button, 2 invisible edit, 3 check box, 4 disabled button, 5 label (no tab stop),
  // 6 edit without TabStop, 7 combo, 8 radio in a group box (9), 10 edit, 11 button.
  std::vector<Value> c;
  c.push_back(created(&TEdit, form));
  c.push_back(created(&TButton, form));
  c.push_back(created(&TEdit, form));
  c.push_back(created(&TCheckBox, form));
  c.push_back(created(&TButton, form));
  c.push_back(created(&TLabel, form));
  c.push_back(created(&TEdit, form));
  c.push_back(created(&TComboBox, form));
  Value group = created(&TGroupBox, form);
  c.push_back(created(&TRadioButton, group));
  c.push_back(group);
  c.push_back(created(&TEdit, form));
  c.push_back(created(&TButton, form));
  for (std::size_t i = 0; i < c.size(); ++i) {
    if (i == 8) continue;
    send(c[i], "SetBounds",
         {Value(10 + 30 * static_cast<int>(i)), Value(10), Value(28), Value(21)});
  }
  send(c[2], "_Visible", {Value(false)});
  send(c[4], "_Enabled", {Value(false)});
  send(c[6], "_TabStop", {Value(false)});
  show();
  send(c[0], "SetFocus");
  const std::size_t forward[] = {1, 3, 7, 8, 10, 11, 0, 1};
  for (std::size_t expected : forward) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w(c[expected])) << "expected " << expected;
  }
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), w(c[11]));

  // Enter moves on as TabKeys say; OnKeyDown setting the key to 0 keeps the focus.
  send(c[10], "_TabKeys", {Value(32 | 2)});
  send(c[10], "SetFocus");
  QTest::keyClick(w(c[10]), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), w(c[11]));
  send(c[10], "SetFocus");
  QTest::keyClick(w(c[10]), Qt::Key_Up);
  EXPECT_EQ(QApplication::focusWidget(), w(c[8]));
  send(c[10], "_OnKeyDown", {makeBlock([](Args a) {
         if (arg(a, 1).asInt() == 13) assignArg(a, 1, Value(0));
         return Value();
       })});
  send(c[10], "SetFocus");
  QTest::keyClick(w(c[10]), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), w(c[10]));
  send(c[10], "_TabKeys", {Value(1 | 32)});  // bit 1: no arrow or Enter moves
  send(c[10], "_OnKeyDown", {Value()});
  QTest::keyClick(w(c[10]), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), w(c[10]));
}

}  // namespace
