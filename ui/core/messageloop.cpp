#include "ui/core/messageloop.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QThread>

#include "ui/core/eventrouter.h"
#include "ui/core/hintwindow.h"

namespace kv::ui {

namespace {

bool g_terminated = false;
bool g_running = false;

const QEvent::Type kQuitMessage = static_cast<QEvent::Type>(QEvent::User + 1);

// The queue object the quit message is posted to.
class Queue : public QObject {
 public:
  explicit Queue(QObject* parent) : QObject(parent) {}
  bool event(QEvent* e) override {
    if (e->type() == kQuitMessage) {
      g_terminated = true;
      return true;
    }
    return QObject::event(e);
  }
};

Queue* queue() {
  static QPointer<Queue> q;
  if (!q && QCoreApplication::instance()) q = new Queue(QCoreApplication::instance());
  return q;
}

bool dispatchWaiting(QEventLoop::ProcessEventsFlags flags) {
  QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance();
  if (!d) return false;
  return d->processEvents(flags);
}

}  // namespace

void freeDestroyedWindows() {
  // Only outside every handler: a widget freed here may not be inside its own event.
  if (!insideDispatch() && QCoreApplication::instance()) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

void messageStep() {
  freeDestroyedWindows();
  if (!dispatchWaiting(QEventLoop::AllEvents)) {
    rethrowPending();
    updateHint();
    dispatchWaiting(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  rethrowPending();
}

void processMessages() {
  freeDestroyedWindows();
  while (!g_terminated && dispatchWaiting(QEventLoop::AllEvents)) rethrowPending();
  rethrowPending();
}

void updateWindows(bool (*exposed)(void*), void* ctx, int maxMs) {
  // Window-system and paint messages only: no input, no timers (whose handlers would run in
  // the middle of the operation that shows the window).
  const QEventLoop::ProcessEventsFlags flags =
      QEventLoop::ExcludeUserInputEvents | QEventLoop::X11ExcludeTimers;
  QElapsedTimer clock;
  clock.start();
  while (!dispatchWaiting(flags) || !exposed(ctx)) {
    if (exposed(ctx) || clock.elapsed() >= maxMs) break;
    QThread::msleep(2);
  }
  dispatchWaiting(flags);
}

bool terminated() {
  return g_terminated;
}
void setTerminated(bool on) {
  g_terminated = on;
}
bool running() {
  return g_running;
}
void setRunning(bool on) {
  g_running = on;
}

void postQuitMessage() {
  if (Queue* q = queue()) QCoreApplication::postEvent(q, new QEvent(kQuitMessage));
}

void resetMessageLoop() {
  g_terminated = false;
  g_running = false;
  if (QCoreApplication::instance()) QCoreApplication::removePostedEvents(queue(), kQuitMessage);
}

}  // namespace kv::ui
