// The application's boxes on the window library: the wait box is the library's form until the
// code that asked for it destroys it; boxes that wait for a button are the library's modal
// dialog on a screen and the headless stand-in where nobody could answer them.
#include "app/windowdialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>

#include "app/core/messagedlg.h"
#include "platform/msgbox.h"
#include "support/datadir_fixture.h"
#include "ui/core/libobject.h"
#include "ui/core/messageloop.h"
#include "ui/dialogs/errorboxes.h"
#include "ui/forms/form.h"
#include "ui/forms/screen.h"
#include "ui/windowlibrary.h"

using namespace kv;

namespace {

class WindowDialogs : public kvtest::DataDirTest {
 protected:
  void SetUp() override {
    DataDirTest::SetUp();
    static bool registered = false;
    if (!registered) ui::registerWindowLibrary();
    registered = true;
    ui::startWindowLibrary();
    app::installWindowDialogs();
    // The offscreen platform keeps the runtime's plain box; collect what reaches it.
    platform::setDialogBoxHook(&showBox);
  }
  void TearDown() override {
    ui::forceErrorBoxesShown(false);
    app::removeWindowDialogs();
    ui::stopWindowLibrary();
    DataDirTest::TearDown();
  }
};

}  // namespace

TEST_F(WindowDialogs, AWaitBoxIsTheLibrarysFormUntilItsMakerDestroysIt) {
  const Value box = app::MessageDlg(Value("Kreiram baze podataka. Molim sacekajte..."), Value(4));
  ui::Form* form = ui::libraryAs<ui::Form>(box);
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->visible());
  EXPECT_EQ(form->borderStyle(), 0);
  ASSERT_EQ(ui::screenForms().size(), 1u);
  EXPECT_TRUE(boxes.empty());
  app::closeWaitBox(box);
  EXPECT_EQ(ui::libraryOf(box), nullptr);
  EXPECT_TRUE(ui::screenForms().empty());
  EXPECT_TRUE(errors.empty());
}

TEST_F(WindowDialogs, TheDataFilesWaitBoxIsGoneWhenTheyAreMade) {
  app::INITDBF();
  EXPECT_TRUE(ui::screenForms().empty());
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(errors.empty());
}

TEST_F(WindowDialogs, WithoutAScreenABoxWithButtonsAnswersAsEscapeWould) {
  EXPECT_EQ(app::MessageDlg(Value("Obrisati?"), Value(3), Value(1)).asInt(), 7);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Confirmation");
  EXPECT_EQ(boxes[0].text, "Obrisati?");
  EXPECT_TRUE(ui::screenForms().empty());
}

TEST_F(WindowDialogs, OnAScreenABoxWithButtonsIsTheLibrarysModalDialog) {
  ui::forceErrorBoxesShown(true);
  app::installWindowDialogs();
  std::string caption;
  QObject context;
  std::function<void()> answer = [&] {
    QTimer::singleShot(20, &context, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return answer();
      caption = modal->windowTitle().toStdString();
      modal->close();  // the close box
    });
  };
  answer();
  QTimer::singleShot(10000, &context, [] {
    ADD_FAILURE() << "the box was not answered in time";
    ui::setTerminated(true);
  });
  EXPECT_EQ(app::MessageDlg(Value("Obrisati?"), Value(3), Value(1)).asInt(), 2);
  EXPECT_EQ(caption, "Confirmation");
  EXPECT_TRUE(ui::screenForms().empty());
}

TEST_F(WindowDialogs, BeforeAndAfterTheWindowLibraryTheBoxesAreHeadless) {
  ui::stopWindowLibrary();
  EXPECT_TRUE(app::MessageDlg(Value("x"), Value(4)).isNil());
  platform::setDialogBoxHook(&showBox);
  EXPECT_EQ(app::MessageDlg(Value("x"), Value(0), Value(3)).asInt(), 2);
  EXPECT_EQ(boxes.size(), 1u);
  ui::startWindowLibrary();
}
