#include "ui/core/hintwindow.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include "ui/core/eventrouter.h"

namespace kv::ui {

namespace {

bool g_enabled = true;
const EventTarget* g_remembered = nullptr;
QPointer<QLabel> g_window;

QLabel* hintWindow() {
  if (!g_window) {
    g_window = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
    g_window->setForegroundRole(QPalette::ToolTipText);
    g_window->setBackgroundRole(QPalette::ToolTipBase);
    g_window->setAutoFillBackground(true);
    g_window->setFrameShape(QFrame::Box);
    g_window->setMargin(2);
    g_window->setTextFormat(Qt::PlainText);
  }
  return g_window;
}

}  // namespace

void hideHint() {
  if (g_window) g_window->hide();
}

void updateHint() {
  if (!qApp) return;
  const QPoint mouse = lastMousePosition();
  QWidget* under = QApplication::widgetAt(mouse);
  if (under == g_window) return;
  const EventTarget* target = under ? targetAt(under) : nullptr;
  if (!target) {
    hideHint();
    g_remembered = nullptr;
    return;
  }
  if (target == g_remembered || !g_enabled) return;
  hideHint();
  g_remembered = target;
  const QString text = target->hintText();
  if (text.isEmpty()) return;
  QLabel* w = hintWindow();
  w->setText(text);
  w->adjustSize();
  w->move(mouse + QPoint(0, 20));
  w->show();
}

void setHintsEnabled(bool on) {
  g_enabled = on;
  if (!on) hideHint();
}

bool hintsEnabled() {
  return g_enabled;
}

QString shownHint() {
  return g_window && g_window->isVisible() ? g_window->text() : QString();
}

void forgetHintTarget(const EventTarget* target) {
  if (g_remembered == target) {
    g_remembered = nullptr;
    hideHint();
  }
}

void destroyHintWindow() {
  delete g_window;
  g_remembered = nullptr;
}

}  // namespace kv::ui
