// The error channel's boxes: modal boxes captioned "Error" with the error icon where they can be
// shown, standard error where they cannot.
#include "uitest.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <filesystem>

#include "platform/msgbox.h"
#include "runtime/error/errorchannel.h"
#include "ui/core/eventrouter.h"
#include "ui/dialogs/errorboxes.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;
namespace fs = std::filesystem;

namespace {

class ErrorBoxes : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    log_ = fs::temp_directory_path() / ("kv_errorboxes_" + std::to_string(::getpid()) + ".txt");
    setErrorLogPath(log_.string());
  }
  void TearDown() override {
    removeErrorBoxes();
    forceErrorBoxesShown(false);
    fs::remove(log_);
    UiTest::TearDown();
  }
  fs::path log_;
};

}  // namespace

TEST_F(ErrorBoxes, WithoutADisplayTheTextGoesToStandardError) {
  ASSERT_FALSE(errorBoxesShown());  // the offscreen platform: nobody could answer a box
  installErrorBoxes();
  EXPECT_FALSE(platform::hasMessageBoxHook());
  ::testing::internal::CaptureStderr();
  writeErrorChannel("Error DBFNTX/1001  Open error: \r\nNalozi.dbf");
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(err, "Error: Error DBFNTX/1001  Open error: \r\nNalozi.dbf\n");
}

TEST_F(ErrorBoxes, TheErrorChannelShowsAModalErrorBox) {
  forceErrorBoxesShown(true);
  installErrorBoxes();
  ASSERT_TRUE(platform::hasMessageBoxHook());
  Watchdog dog;
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  bool suspended = false;
  whenModal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    suspended = dispatchSuspended();
    box->button(QMessageBox::Ok)->click();
  });
  writeErrorChannel("Error BASE/1003  Variable does not exist: \r\nnPregled");
  EXPECT_EQ(title, QString("Error"));
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(text, QString("Error BASE/1003  Variable does not exist: \nnPregled"));
  EXPECT_TRUE(suspended);
  EXPECT_FALSE(dispatchSuspended());
}

TEST_F(ErrorBoxes, TheRuntimesPlainBoxIsAMessageDialogOfItsKind) {
  forceErrorBoxesShown(true);
  installErrorBoxes();
  Watchdog dog;
  QString title, text;
  int buttons = 0;
  whenModal([&](QWidget* w) {
    title = w->windowTitle();
    for (QLabel* l : w->findChildren<QLabel*>()) {
      if (!l->text().isEmpty()) text = l->text();
    }
    for (QPushButton* b : w->findChildren<QPushButton*>()) {
      if (b->isVisibleTo(w)) ++buttons;
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  });
  platform::showMessageBox("Error", "Procedura koju pozivate nije pronadjena!", 2);
  EXPECT_EQ(title, QString("Error"));
  EXPECT_EQ(text, QString("Procedura koju pozivate nije pronadjena!"));
  EXPECT_EQ(buttons, 1);
}
