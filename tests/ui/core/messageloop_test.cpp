// The message loops: nested modal loops, errors raised in handlers, ProcessMessages, hints.
#include "uitest.h"

#include <QLabel>

#include "ui/controls/button.h"
#include "ui/controls/panel.h"
#include "ui/core/hintwindow.h"
#include "ui/dialogs/messagedlg.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;

namespace {

class MessageLoop : public UiTest {};

QPushButton* buttonCaptioned(QWidget* window, const QString& caption) {
  for (QPushButton* b : window->findChildren<QPushButton*>()) {
    if (b->text() == caption && b->isVisible()) return b;
  }
  return nullptr;
}

}  // namespace

TEST_F(MessageLoop, NestedModalLoopsAnswerInnermostFirst) {
  Value form = created(&TForm, applicationObject());
  Value button = created(&TButton, form);
  Value nested;
  send(button, "_OnClick", {makeBlock([&](Args) {
         // A handler that opens a dialog runs nested message steps.
         nested = MessageDlg(Value("Snimiti nalog?"), Value(3), Value(1));
         send(form, "_ModalResult", {Value(1)});
         return Value();
       })});
  Watchdog dog;
  QWidget* outer = libraryAs<Form>(form)->window();
  whenModal([&](QWidget* w) {
    ASSERT_EQ(w, outer);
    whenModal(
        [&](QWidget* dialog) {
          EXPECT_EQ(dialog->windowTitle(), QString("Confirmation"));
          QTest::mouseClick(buttonCaptioned(dialog, "&No"), Qt::LeftButton);
        },
        outer);
    QTest::mouseClick(libraryAs<Button>(button)->windowIfMade(), Qt::LeftButton);
  });
  send(form, "ShowModal");
  EXPECT_EQ(nested.asInt(), 7);
  EXPECT_EQ(send(form, "ModalResult").asInt(), 1);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(MessageLoop, AnErrorInAHandlerLeavesThroughTheLoopsNotThroughQt) {
  Value other = created(&TForm, applicationObject());
  send(other, "Show");
  Value form = created(&TForm, applicationObject());
  Value button = created(&TButton, form);
  int handled = 0;
  send(button, "_OnClick", {makeBlock([&](Args) -> Value {
         ++handled;
         BREAK(Value(42));
       })});
  Watchdog dog;
  whenModal([&](QWidget*) {
    QWidget* b = libraryAs<Button>(button)->windowIfMade();
    QTest::mouseClick(b, Qt::LeftButton);
    QTest::mouseClick(b, Qt::LeftButton);  // no handler runs while the error is on its way
  });
  int caught = 0;
  try {
    send(form, "ShowModal");
  } catch (const BreakException& e) {
    caught = e.value.asInt();
  }
  EXPECT_EQ(caught, 42);
  EXPECT_EQ(handled, 1);
  EXPECT_FALSE(libraryAs<Form>(form)->modal());
  EXPECT_TRUE(libraryAs<Form>(other)->windowEnabled());
}

TEST_F(MessageLoop, ProcessMessagesHandlesWhatIsWaitingWithoutWaiting) {
  Value form = created(&TForm, applicationObject());
  Value button = created(&TButton, form);
  send(form, "Show");
  int clicks = 0;
  send(button, "_OnClick", {makeBlock([&](Args) {
         ++clicks;
         return Value();
       })});
  QTimer::singleShot(0, [&] { libraryAs<Button>(button)->click(); });
  send(applicationObject(), "ProcessMessages");
  EXPECT_EQ(clicks, 1);
  send(applicationObject(), "ProcessMessages");  // nothing waiting: returns at once
  EXPECT_EQ(clicks, 1);
}

TEST_F(MessageLoop, TheIdleStepShowsTheHintOfTheControlUnderTheMouse) {
  Value form = created(&TForm, applicationObject());
  send(form, "SetBounds", {Value(0), Value(0), Value(300), Value(200)});
  Value withHint = created(&TPanel, form);
  send(withHint, "SetBounds", {Value(10), Value(10), Value(100), Value(50)});
  send(withHint, "_Hint", {Value("Broj naloga")});
  Value without = created(&TPanel, form);
  send(without, "SetBounds", {Value(150), Value(10), Value(100), Value(50)});
  send(form, "Show");
  auto stepUntil = [](const QString& hint) {
    for (int i = 0; i < 20 && shownHint() != hint; ++i) {
      QTimer::singleShot(5, [] {});  // something to wake the idle wait
      messageStep();
    }
    return shownHint();
  };
  QTest::mouseMove(libraryAs<Panel>(withHint)->windowIfMade(), QPoint(20, 20));
  EXPECT_EQ(stepUntil("Broj naloga"), QString("Broj naloga"));
  QTest::mouseMove(libraryAs<Panel>(without)->windowIfMade(), QPoint(20, 20));
  EXPECT_EQ(stepUntil(QString()), QString());
}
