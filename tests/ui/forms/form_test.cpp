// Application, screen and forms: CreateForm and Run, Close and its handlers, ShowModal, the
// placing of forms, border styles and size limits.
#include "uitest.h"

#include <QCloseEvent>
#include <QWidget>

#include "runtime/lang/codeblock.h"
#include "ui/controls/button.h"
#include "ui/core/messageloop.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"
#include "ui/forms/screen.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;

namespace {

class Forms : public UiTest {
 protected:
  Value newForm(int width = 320, int height = 240) {
    Value f = created(&TForm, applicationObject());
    send(f, "SetSize", {Value(width), Value(height)});
    return f;
  }
  static QWidget* windowOf(const Value& form) { return libraryAs<Form>(form)->window(); }
  // The close box: the window system asks the window to close.
  static void closeBox(const Value& form) {
    QCloseEvent e;
    QApplication::sendEvent(windowOf(form), &e);
  }
  // A block that counts its calls and sets its by-reference argument to `answer`.
  static Value counting(int& calls, Value answer = Value()) {
    return makeBlock([&calls, answer](Args a) {
      ++calls;
      if (!answer.isNil()) assignArg(a, 1, answer);
      return Value();
    });
  }
};

}  // namespace

TEST_F(Forms, CreateFormMakesTheFirstFormTheMainFormAndRunsOnCreateWithTheApplication) {
  Value app = applicationObject();
  Value sender;
  Value first = TForm();
  send(first, "_OnCreate", {makeBlock([&sender](Args a) {
         sender = arg(a, 0);
         return Value();
       })});
  Cell var = newCell(Value());
  send(app, "CreateForm", {first, Value::reference(var)});
  EXPECT_EQ(var->arr(), first.arr());
  EXPECT_EQ(sender.arr(), app.arr());
  EXPECT_EQ(send(app, "MainForm").arr(), first.arr());
  EXPECT_EQ(libraryAs<Form>(first)->owner(), libraryOf(app));
  EXPECT_TRUE(libraryAs<Form>(first)->hasWindow());
  EXPECT_FALSE(send(first, "Visible").asBool());  // Run shows it

  Value second = TForm();
  Cell var2 = newCell(Value());
  send(app, "CreateForm", {second, Value::reference(var2)});
  EXPECT_EQ(send(app, "MainForm").arr(), first.arr());
  // Without a form or a variable nothing happens.
  Value third = TForm();
  send(app, "CreateForm", {third});
  send(app, "CreateForm", {Value(), Value::reference(var2)});
  EXPECT_EQ(libraryAs<Form>(third)->owner(), nullptr);
  EXPECT_EQ(var2->arr(), second.arr());
  EXPECT_TRUE(raised.empty());

  Value forms = send(TScreen(), "Forms");
  ASSERT_EQ(forms.arrayLen(), 2u);  // the third was never created
  EXPECT_EQ(forms.arr()->items[0].arr(), first.arr());
  EXPECT_EQ(forms.arr()->items[1].arr(), second.arr());
  send(third, "Destroy");
}

TEST_F(Forms, CloseOnTheMainFormEndsRunAfterTheCurrentMessage) {
  Value app = applicationObject();
  Value main = TForm();
  Cell var = newCell(Value());
  send(app, "CreateForm", {main, Value::reference(var)});
  Watchdog dog;
  bool visibleInRun = false;
  later(20, [&] {
    visibleInRun = send(main, "Visible").asBool();
    send(main, "Close");
  });
  send(app, "Run");
  EXPECT_TRUE(visibleInRun);
  EXPECT_TRUE(terminated());
  EXPECT_FALSE(running());
}

TEST_F(Forms, RunWithoutAMainFormReturnsAtOnceAndTerminateEndsRun) {
  Value app = applicationObject();
  send(app, "Run");
  EXPECT_FALSE(terminated());
  send(app, "CreateForm", {TForm(), Value::reference(newCell(Value()))});
  Watchdog dog;
  later(20, [&] { send(app, "Terminate"); });
  send(app, "Run");
  EXPECT_TRUE(terminated());
}

TEST_F(Forms, CloseOnAnotherFormDoesWhatOnCloseAnswers) {
  send(applicationObject(), "CreateForm", {TForm(), Value::reference(newCell(Value()))});
  struct Case {
    Value action;  // nil: no OnClose
    bool visible;
    bool hasWindow;
    bool minimized;
  } cases[] = {{Value(), false, true, false},
               {Value(1), false, true, false},
               {Value(0), true, true, false},
               {Value(3), true, true, true},
               {Value(2), false, false, false}};
  for (const Case& c : cases) {
    Value form = newForm();
    int closes = 0;
    if (!c.action.isNil()) send(form, "_OnClose", {counting(closes, c.action)});
    send(form, "Show");
    send(form, "Close");
    Form* f = libraryAs<Form>(form);
    EXPECT_EQ(send(form, "Visible").asBool(), c.visible) << c.action.asInt();
    EXPECT_EQ(f->hasWindow(), c.hasWindow) << c.action.asInt();
    if (c.hasWindow) {
      EXPECT_EQ(f->windowIfMade()->isMinimized(), c.minimized);
    }
    EXPECT_EQ(closes, c.action.isNil() ? 0 : 1);
    // A closed form keeps its values and can be shown again.
    send(form, "_Caption", {Value("again")});
    send(form, "Show");
    EXPECT_TRUE(f->windowIfMade()->isVisible());
    EXPECT_EQ(f->windowIfMade()->windowTitle(), QString("again"));
    send(form, "Destroy");
  }
  EXPECT_FALSE(terminated());
}

TEST_F(Forms, OnCloseQueryRefusingKeepsTheFormOpen) {
  Value form = newForm();
  int asked = 0, closed = 0;
  send(form, "_OnCloseQuery", {counting(asked, Value(false))});
  send(form, "_OnClose", {counting(closed)});
  send(form, "Show");
  send(form, "Close");
  closeBox(form);
  EXPECT_TRUE(windowOf(form)->isVisible());
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(closed, 0);

  // Modal: the loop is not ended by a refused close; the form's own result ends it.
  send(form, "Hide");
  Watchdog dog;
  whenModal([&](QWidget*) {
    closeBox(form);
    EXPECT_EQ(send(form, "ModalResult").asInt(), 0);
    send(form, "_ModalResult", {Value(6)});
  });
  send(form, "ShowModal");
  EXPECT_EQ(send(form, "ModalResult").asInt(), 6);
  EXPECT_EQ(asked, 3);  // the close after the modal loop does not ask again
  EXPECT_FALSE(windowOf(form)->isVisible());
  EXPECT_EQ(closed, 1);
}

TEST_F(Forms, TheCloseBoxOfAModalFormGivesTwoAskingOnce) {
  Value other = newForm();
  send(other, "Show");
  Value form = newForm();
  int asked = 0, hidden = 0;
  send(form, "_OnCloseQuery", {counting(asked)});
  send(form, "_OnHide", {counting(hidden)});
  Watchdog dog;
  bool otherDisabled = false, modalFlag = false;
  whenModal([&](QWidget* w) {
    EXPECT_EQ(w, windowOf(form));
    otherDisabled = !libraryAs<Form>(other)->windowEnabled();
    modalFlag = libraryAs<Form>(form)->modal();
    closeBox(form);
  });
  send(form, "ShowModal");
  EXPECT_EQ(send(form, "ModalResult").asInt(), 2);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(hidden, 1);
  EXPECT_TRUE(otherDisabled);
  EXPECT_TRUE(modalFlag);
  EXPECT_TRUE(libraryAs<Form>(other)->windowEnabled());
  EXPECT_FALSE(libraryAs<Form>(form)->modal());
  EXPECT_EQ(windowOf(form)->windowModality(), Qt::NonModal);
}

TEST_F(Forms, AButtonsModalResultEndsTheModalLoop) {
  Value form = newForm();
  Value button = created(&TButton, form);
  send(button, "_ModalResult", {Value(7)});
  int clicks = 0;
  send(button, "_OnClick", {counting(clicks)});
  Watchdog dog;
  whenModal([&](QWidget*) {
    QTest::mouseClick(libraryAs<Button>(button)->windowIfMade(), Qt::LeftButton);
  });
  send(form, "ShowModal");
  EXPECT_EQ(send(form, "ModalResult").asInt(), 7);
  EXPECT_EQ(clicks, 1);
  // Already visible: ShowModal returns at once.
  send(form, "Show");
  send(form, "ShowModal");
  EXPECT_EQ(send(form, "ModalResult").asInt(), 7);
}

TEST_F(Forms, OnShowThatHidesTheFormAgainStopsTheShowing) {
  Value form = newForm();
  send(form, "_OnShow", {makeBlock([](Args a) {
         send(arg(a, 0), "Hide");
         return Value();
       })});
  send(form, "ShowModal");  // returns at once: no loop to answer
  EXPECT_FALSE(send(form, "Visible").asBool());
  EXPECT_FALSE(libraryAs<Form>(form)->modal());
}

TEST_F(Forms, PositionFourCentresOnTheScreenNeverAtANegativePlace) {
  ASSERT_EQ(send(TScreen(), "Width").asInt(), 800);
  ASSERT_EQ(send(TScreen(), "Height").asInt(), 800);
  struct Case {
    int width, height, left, top;
  } cases[] = {{400, 300, 200, 250}, {810, 610, 0, 95}, {900, 900, 0, 0}, {100, 1000, 350, 0}};
  for (const Case& c : cases) {
    Value form = newForm(c.width, c.height);
    send(form, "_Position", {Value(4)});
    send(form, "Show");
    EXPECT_EQ(send(form, "Left").asInt(), c.left) << c.width;
    EXPECT_EQ(send(form, "Top").asInt(), c.top) << c.width;
    EXPECT_EQ(windowOf(form)->pos(), QPoint(c.left, c.top));
    send(form, "Destroy");
  }
}

TEST_F(Forms, PositionFiveCentresOverTheActiveForm) {
  Value active = newForm(600, 400);
  send(active, "SetPos", {Value(100), Value(50)});
  send(active, "Show");
  ASSERT_EQ(QApplication::activeWindow(), windowOf(active));
  Value form = newForm(200, 100);
  send(form, "_Position", {Value(5)});
  send(form, "Show");
  EXPECT_EQ(send(form, "Left").asInt(), 100 + (600 - 200) / 2);
  EXPECT_EQ(send(form, "Top").asInt(), 50 + (400 - 100) / 2);
}

TEST_F(Forms, WidthAndHeightAreTheWholeWindowsAndTheClientAreaHoldsTheControls) {
  struct Case {
    int borderStyle, clientWidth, clientHeight;
  } cases[] = {{0, 320, 240}, {2, 312, 206}, {3, 314, 208}, {4, 314, 214}};
  for (const Case& c : cases) {
    Value form = newForm();
    send(form, "_BorderStyle", {Value(c.borderStyle)});
    Value button = created(&TButton, form);
    send(button, "SetBounds", {Value(5), Value(6), Value(70), Value(25)});
    EXPECT_EQ(send(form, "ClientWidth").asInt(), c.clientWidth);
    EXPECT_EQ(send(form, "ClientHeight").asInt(), c.clientHeight);
    EXPECT_EQ(windowOf(form)->size(), QSize(c.clientWidth, c.clientHeight));
    QWidget* b = libraryAs<Button>(button)->windowIfMade();
    EXPECT_EQ(b->parentWidget(), libraryAs<Form>(form)->clientWidget());
    EXPECT_EQ(b->geometry(), QRect(5, 6, 70, 25));
    send(form, "_ClientWidth", {Value(400)});
    EXPECT_EQ(send(form, "Width").asInt(), 400 + 320 - c.clientWidth);
    send(form, "Destroy");
  }
}

TEST_F(Forms, BorderStylesAndIconsGiveTheWindowItsFlags) {
  struct Case {
    int borderStyle;
    bool frameless, dialog, tool, minimize, maximize, fixed;
  } cases[] = {
      {0, true, false, false, false, false, true}, {1, false, false, false, true, true, true},
      {2, false, false, false, true, true, false}, {3, false, true, false, false, false, true},
      {4, false, false, true, false, false, true}, {5, false, false, true, false, false, false},
  };
  for (const Case& c : cases) {
    Value form = newForm();
    send(form, "_BorderStyle", {Value(c.borderStyle)});
    QWidget* w = windowOf(form);
    const Qt::WindowFlags f = w->windowFlags();
    EXPECT_EQ(bool(f & Qt::FramelessWindowHint), c.frameless) << c.borderStyle;
    EXPECT_EQ(w->windowType() == Qt::Dialog, c.dialog) << c.borderStyle;
    EXPECT_EQ(w->windowType() == Qt::Tool, c.tool) << c.borderStyle;
    EXPECT_EQ(bool(f & Qt::WindowMinimizeButtonHint), c.minimize) << c.borderStyle;
    EXPECT_EQ(bool(f & Qt::WindowMaximizeButtonHint), c.maximize) << c.borderStyle;
    EXPECT_EQ(w->minimumSize() == w->maximumSize(), c.fixed) << c.borderStyle;
    send(form, "Destroy");
  }
  Value form = newForm();
  Value icons = send(form, "BorderIcons");
  send(icons, "_Maximize", {Value(false)});
  send(icons, "_Help", {Value(true)});
  EXPECT_FALSE(windowOf(form)->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(windowOf(form)->windowFlags() & Qt::WindowContextHelpButtonHint);
  send(icons, "_SystemMenu", {Value(false)});
  EXPECT_FALSE(windowOf(form)->windowFlags() & Qt::WindowCloseButtonHint);
  send(form, "_BorderIcons", {Value()});
  ASSERT_EQ(raised.size(), 1u);
  EXPECT_EQ(raised[0].genCode, EG_READONLY);
}

TEST_F(Forms, EqualSizeLimitsMakeTheFormImpossibleToResize) {
  Value form = newForm(810, 610);
  for (const char* limit : {"_MinWidth", "_MaxWidth"}) send(form, limit, {Value(810)});
  for (const char* limit : {"_MinHeight", "_MaxHeight"}) send(form, limit, {Value(610)});
  send(form, "Show");
  QWidget* w = windowOf(form);
  EXPECT_EQ(w->minimumSize(), QSize(802, 576));
  EXPECT_EQ(w->maximumSize(), QSize(802, 576));
  w->resize(500, 700);  // the user drags a border
  EXPECT_EQ(w->size(), QSize(802, 576));
  EXPECT_EQ(send(form, "Width").asInt(), 810);
  EXPECT_EQ(send(form, "MaxHeight").asInt(), 610);
  // Without limits the user may size it; Width and Height follow.
  Value free = newForm();
  send(free, "Show");
  windowOf(free)->resize(500, 400);
  EXPECT_EQ(send(free, "Width").asInt(), 508);
  EXPECT_EQ(send(free, "Height").asInt(), 434);
}

TEST_F(Forms, WindowStateIsShownExceptForDialogStyles) {
  Value form = newForm();
  send(form, "_WindowState", {Value(2)});
  send(form, "Show");
  EXPECT_TRUE(windowOf(form)->isMaximized());
  EXPECT_EQ(send(form, "WindowState").asInt(), 2);
  Value dialog = newForm();
  send(dialog, "_BorderStyle", {Value(3)});
  send(dialog, "_WindowState", {Value(2)});
  send(dialog, "Show");
  EXPECT_FALSE(windowOf(dialog)->isMaximized());
}

TEST_F(Forms, AnMdiChildNeedsAnMdiFrameAsTheMainForm) {
  send(applicationObject(), "CreateForm", {TForm(), Value::reference(newCell(Value()))});
  Value form = newForm();
  send(form, "_FormStyle", {Value(1)});
  ASSERT_EQ(raised.size(), 1u);
  EXPECT_EQ(raised[0].subCode, 6009);
  EXPECT_EQ(raised[0].description, "No MDI forms are currently active.");
  EXPECT_EQ(send(form, "FormStyle").asInt(), 0);
}
