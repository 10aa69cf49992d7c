#pragma once
// The library-wide event filter. It sits on the QApplication and sees every event of every
// widget before the widget does; the events of a widget that belongs to a library object are
// handed to that object's own handling (keys, mouse, focus, paint, close), which decides
// whether Qt's default handling still runs. So the behaviour of the library's controls is its
// own, not Qt's.
//
// Language code runs inside these handlers, and errors unwind as C++ exceptions. They must
// never cross Qt's event dispatch: the router catches whatever a handler throws, keeps it, and
// stops running handlers until the message loop that called Qt rethrows it after Qt returns
// (rethrowPending). Qt callbacks outside the filter (signals, timers) run their language code
// through guarded() for the same reason.
#include <QObject>
#include <QString>

#include <exception>

class QEvent;
class QWidget;

namespace kv::ui {

// The receiver of the events of a library object's widgets.
class EventTarget {
 public:
  virtual ~EventTarget();
  // Handles an event of one of the target's widgets; true when it is consumed (Qt's default
  // handling does not run).
  virtual bool handleEvent(QObject* watched, QEvent* event) = 0;
  // The hint shown while the mouse rests on the target; empty for none.
  virtual QString hintText() const { return QString(); }
};

// Routes the events of `object` to `target` (until unroute).
void route(QObject* object, EventTarget* target);
void unroute(QObject* object);
// The target of an object, null when it has none.
EventTarget* targetOf(const QObject* object);
// The target of a widget or of its nearest ancestor that has one.
EventTarget* targetAt(const QWidget* widget);

// Installs the filter on the QApplication (once), and removes it.
void installEventRouter();
void removeEventRouter();

// Runs `fn` (language code called from a Qt callback): an exception it throws is kept for the
// message loop; while one is kept, `fn` is not run at all.
template <class Fn>
void guarded(Fn&& fn);
// True while language code runs from inside Qt's dispatch (a handler or a guarded callback).
bool insideDispatch();
// Rethrows the exception a handler left, if any (the message loops call it after Qt returns).
void rethrowPending();
bool exceptionPending();
void keepException(std::exception_ptr e);

// While one of these lives, the router runs no handlers (events go to Qt's default handling):
// a fatal box is on screen, or a window is being brought up to date.
class SuspendDispatch {
 public:
  SuspendDispatch();
  ~SuspendDispatch();
  SuspendDispatch(const SuspendDispatch&) = delete;
  SuspendDispatch& operator=(const SuspendDispatch&) = delete;
};
bool dispatchSuspended();

// The message hook: sees every event first; true consumes it. None is installed by default.
using MessageHook = bool (*)(QObject* watched, QEvent* event);
void setMessageHook(MessageHook hook);

// Where the mouse was last seen, in global coordinates (for the hint of the control under it).
QPoint lastMousePosition();

namespace detail {
class DispatchDepth {
 public:
  DispatchDepth();
  ~DispatchDepth();
  DispatchDepth(const DispatchDepth&) = delete;
  DispatchDepth& operator=(const DispatchDepth&) = delete;
};
}  // namespace detail

template <class Fn>
void guarded(Fn&& fn) {
  if (exceptionPending()) return;
  detail::DispatchDepth depth;
  try {
    fn();
  } catch (...) {
    keepException(std::current_exception());
  }
}

}  // namespace kv::ui
