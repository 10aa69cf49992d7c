#include "ui/core/stacking.h"

#include <QGuiApplication>
#include <QWidget>

namespace kv::ui {

namespace {

bool keepsStacking(const QWidget* widget) {
  return !widget->isWindow() || QGuiApplication::platformName() != QLatin1String("offscreen");
}

}  // namespace

void raiseWidget(QWidget* widget) {
  if (widget && keepsStacking(widget)) widget->raise();
}

void bringWindowToTop(QWidget* window) {
  if (!window) return;
  raiseWidget(window);
  window->activateWindow();
}

}  // namespace kv::ui
