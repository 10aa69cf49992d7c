#include "ui/core/eventrouter.h"

#include <QApplication>
#include <QEnterEvent>
#include <QHash>
#include <QMouseEvent>
#include <QWidget>

namespace kv::ui {

namespace {

QHash<const QObject*, EventTarget*>& targets() {
  static QHash<const QObject*, EventTarget*> t;
  return t;
}

std::exception_ptr g_pending;
int g_depth = 0;
int g_suspended = 0;
MessageHook g_hook = nullptr;
QPoint g_mouse;

class Router : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseMove:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
        g_mouse = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        break;
      case QEvent::Enter:
        g_mouse = static_cast<QEnterEvent*>(event)->globalPosition().toPoint();
        break;
      default:
        break;
    }
    if (g_hook && g_hook(watched, event)) return true;
    EventTarget* target = targets().value(watched, nullptr);
    if (!target) return false;
    if (g_suspended || g_pending) {
      // No handler runs now; a close request must not hide a window behind the library's
      // back either.
      if (event->type() != QEvent::Close) return false;
      event->ignore();
      return true;
    }
    detail::DispatchDepth depth;
    try {
      return target->handleEvent(watched, event);
    } catch (...) {
      keepException(std::current_exception());
      return true;
    }
  }
};

Router* g_router = nullptr;

}  // namespace

EventTarget::~EventTarget() = default;

detail::DispatchDepth::DispatchDepth() {
  ++g_depth;
}
detail::DispatchDepth::~DispatchDepth() {
  --g_depth;
}

void route(QObject* object, EventTarget* target) {
  if (object) targets().insert(object, target);
}

void unroute(QObject* object) {
  targets().remove(object);
}

EventTarget* targetOf(const QObject* object) {
  return targets().value(object, nullptr);
}

EventTarget* targetAt(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    if (EventTarget* t = targetOf(w)) return t;
  }
  return nullptr;
}

void installEventRouter() {
  if (g_router || !qApp) return;
  g_router = new Router;
  qApp->installEventFilter(g_router);
}

void removeEventRouter() {
  if (!g_router) return;
  if (qApp) qApp->removeEventFilter(g_router);
  delete g_router;
  g_router = nullptr;
}

bool insideDispatch() {
  return g_depth > 0;
}

void keepException(std::exception_ptr e) {
  if (!g_pending) g_pending = e;
}

bool exceptionPending() {
  return static_cast<bool>(g_pending);
}

void rethrowPending() {
  if (!g_pending) return;
  std::exception_ptr e = g_pending;
  g_pending = nullptr;
  std::rethrow_exception(e);
}

SuspendDispatch::SuspendDispatch() {
  ++g_suspended;
}
SuspendDispatch::~SuspendDispatch() {
  --g_suspended;
}
bool dispatchSuspended() {
  return g_suspended > 0;
}

void setMessageHook(MessageHook hook) {
  g_hook = hook;
}

QPoint lastMousePosition() {
  return g_mouse;
}

}  // namespace kv::ui
