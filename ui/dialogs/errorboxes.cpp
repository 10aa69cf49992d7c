#include "ui/dialogs/errorboxes.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include <string>
#include <string_view>

#include "platform/msgbox.h"
#include "ui/core/eventrouter.h"
#include "ui/core/text.h"
#include "ui/dialogs/messagedlg.h"

namespace kv::ui {

namespace {

bool g_forced = false;

void fatalBox(std::string_view caption, std::string_view text) {
  if (!errorBoxesShown()) {
    platform::boxToStandardError(caption, text);
    return;
  }
  // Nothing of the program runs while the box waits: the program is about to end.
  SuspendDispatch suspend;
  QMessageBox box(QMessageBox::Critical, toQString(caption), displayText(text), QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

void dialogBox(std::string_view caption, std::string_view text, int kind) {
  if (!errorBoxesShown()) {
    platform::boxToStandardError(caption, text);
    return;
  }
  MessageDlgRequest request;
  request.text = std::string(text);
  request.type = kind >= 0 && kind <= 3 ? kind : 0;
  request.buttons = 2;
  request.position = 4;
  request.caption = std::string(caption);
  runMessageDlg(request);
}

}  // namespace

bool errorBoxesShown() {
  if (!qApp) return false;
  if (g_forced) return true;
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void forceErrorBoxesShown(bool on) {
  g_forced = on;
}

void installErrorBoxes() {
  if (!errorBoxesShown()) {
    removeErrorBoxes();
    return;
  }
  platform::setMessageBoxHook(&fatalBox);
  platform::setDialogBoxHook(&dialogBox);
}

void removeErrorBoxes() {
  platform::setMessageBoxHook(nullptr);
  platform::setDialogBoxHook(nullptr);
}

}  // namespace kv::ui
