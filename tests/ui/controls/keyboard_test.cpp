// Keys on window controls: OnKeyDown by reference, Tab order, Escape, and WMKeyDown sent
// through the language object.
#include "uitest.h"

#include "ui/controls/button.h"
#include "ui/core/classlang.h"
#include "ui/core/keys.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;

namespace {

class Keyboard : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = created(&TForm, applicationObject());
    for (int i = 0; i < 3; ++i) {
      buttons[i] = created(&TButton, form);
      send(buttons[i], "SetBounds", {Value(10 + 80 * i), Value(10), Value(75), Value(25)});
    }
    send(form, "Show");
  }
  QWidget* w(int i) { return libraryAs<Button>(buttons[i])->windowIfMade(); }
  QWidget* focused() { return QApplication::focusWidget(); }

  Value form;
  Value buttons[3];
};

}  // namespace

TEST_F(Keyboard, TabFollowsTheTabOrderAndWrapsAround) {
  send(buttons[2], "_TabOrder", {Value(0)});  // order now 2, 0, 1
  send(buttons[2], "SetFocus");
  ASSERT_EQ(focused(), w(2));
  const int forward[] = {0, 1, 2, 0};
  for (int expected : forward) {
    if (focused() == w(expected)) continue;
    QTest::keyClick(focused(), Qt::Key_Tab);
    EXPECT_EQ(focused(), w(expected));
  }
  QTest::keyClick(focused(), Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(focused(), w(2));
  EXPECT_EQ(send(form, "ActiveControl").arr(), buttons[2].arr());
  send(buttons[0], "_TabStop", {Value(false)});
  QTest::keyClick(focused(), Qt::Key_Tab);
  EXPECT_EQ(focused(), w(1));
}

TEST_F(Keyboard, OnKeyDownSeesTheKeyAndZeroSwallowsIt) {
  std::vector<int> seen;
  send(buttons[0], "_OnKeyDown", {makeBlock([&seen](Args a) {
         seen.push_back(arg(a, 1).asInt());
         if (arg(a, 1).asInt() == kVkTab) assignArg(a, 1, Value(0));
         return Value();
       })});
  send(buttons[0], "SetFocus");
  QTest::keyClick(w(0), Qt::Key_Tab);
  EXPECT_EQ(focused(), w(0));
  QTest::keyClick(w(0), Qt::Key_A);
  EXPECT_EQ(seen, (std::vector<int>{kVkTab, 'A'}));
}

TEST_F(Keyboard, ArrowsAndEnterMoveOnlyAsTabKeysAllow) {
  send(buttons[0], "SetFocus");
  QTest::keyClick(w(0), Qt::Key_Down);
  EXPECT_EQ(focused(), w(0));
  send(buttons[0], "_TabKeys", {Value(4 | 16)});
  QTest::keyClick(w(0), Qt::Key_Right);
  EXPECT_EQ(focused(), w(1));
  send(buttons[1], "_TabKeys", {Value(2)});
  send(buttons[2], "_TabKeys", {Value(1)});  // passed over by arrow moves
  send(buttons[0], "_TabKeys", {Value(4)});
  QTest::keyClick(w(1), Qt::Key_Up);
  EXPECT_EQ(focused(), w(0));
  QTest::keyClick(w(0), Qt::Key_Down);
  EXPECT_EQ(focused(), w(1));
  send(buttons[1], "_TabKeys", {Value(4)});
  QTest::keyClick(w(1), Qt::Key_Down);  // the last one was passed over: no wrap
  EXPECT_EQ(focused(), w(1));
}

TEST_F(Keyboard, EscapeClicksTheCancelButtonAndEnterTheFocusedButton) {
  int cancelled = 0, pressed = 0;
  send(buttons[2], "_Cancel", {Value(true)});
  send(buttons[2], "_OnClick", {makeBlock([&](Args) {
         ++cancelled;
         return Value();
       })});
  send(buttons[0], "_OnClick", {makeBlock([&](Args) {
         ++pressed;
         return Value();
       })});
  send(buttons[0], "SetFocus");
  QTest::keyClick(w(0), Qt::Key_Escape);
  QTest::keyClick(w(0), Qt::Key_Return);
  QTest::keyClick(w(0), Qt::Key_Space);
  EXPECT_EQ(cancelled, 1);
  EXPECT_EQ(pressed, 2);
  send(buttons[2], "_Visible", {Value(false)});
  QTest::keyClick(w(0), Qt::Key_Escape);
  EXPECT_EQ(cancelled, 1);
}

TEST_F(Keyboard, WMKeyDownGoesThroughTheLanguageObject) {
  std::vector<int> keys;
  Value h = __CLASSDEF(Value("TKeyButton"), makeBlock([](Args) { return Value(); }), TButton());
  __CLASSMET(h, Value(1), Value(0), Value("WMKeyDown"),
             Value(registerMethodTarget([&keys](const Value& self, Args a) {
               keys.push_back(arg(a, 0).asInt());
               if (arg(a, 0).asInt() == kVkTab) return Value(0);  // swallowed here
               return superSend(self, "WMKeyDown", a);
             })));
  Value own = __CLASSOBJ(h);
  send(own, "Create", {form});
  send(own, "SetFocus");
  QWidget* ownWindow = libraryAs<Button>(own)->windowIfMade();
  QTest::keyClick(ownWindow, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), ownWindow);
  int clicks = 0;
  send(own, "_OnClick", {makeBlock([&](Args) {
         ++clicks;
         return Value();
       })});
  QTest::keyClick(ownWindow, Qt::Key_Return);  // the library's handling, through the override
  EXPECT_EQ(keys, (std::vector<int>{kVkTab, kVkReturn}));
  EXPECT_EQ(clicks, 1);
}
