#include "ui/controls/timer.h"

#include <QTimer>

#include "ui/core/eventrouter.h"
#include "ui/core/messages.h"

namespace kv::ui {

namespace {

void registerTimer(ClassDef* cls) {
  property<Timer>(
      cls, "Enabled", [](Timer& t) { return Value(t.enabled()); },
      [](Timer& t, const Value& v, Args a) {
        bool on;
        if (boolArg(v, on, "_ENABLED", a)) t.setEnabled(on);
      });
  property<Timer>(
      cls, "Interval", [](Timer& t) { return Value(t.interval()); },
      [](Timer& t, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_INTERVAL", a)) t.setInterval(n);
      });
  method<Timer>(cls, "OnTimer", [](Timer& t, Args) { return t.events().get(kOnTimer); });
  addMethod(cls, "_ONTIMER", [](const Value& self, Args args) -> Value {
    Timer* t = receiverAs<Timer>(self, "_ONTIMER", args);
    Value v = arg(args, 0);
    if (t) {
      t->events().set(kOnTimer, v, "_ONTIMER");
      t->update();
    }
    return v;
  });
}

LibObject* makeTimer() {
  return new Timer;
}

}  // namespace

const LibClass kTimerClass = {"TTimer", &kComponentClass, &makeTimer, &registerTimer};

Value TTimer() {
  return classFunction(kTimerClass);
}

Timer::Timer() : timer_(std::make_unique<QTimer>()) {
  QObject::connect(timer_.get(), &QTimer::timeout, [this, alive = this->alive()] {
    if (alive) guarded([this] { fire(kOnTimer); });
  });
}

Timer::~Timer() = default;

void Timer::release() {
  timer_->stop();
  Component::release();
}

void Timer::setInterval(int ms) {
  if (ms == interval_) return;
  interval_ = ms;
  if (timer_->isActive()) timer_->stop();
  update();
}

void Timer::setEnabled(bool on) {
  enabled_ = on;
  update();
}

void Timer::update() {
  const bool run = enabled_ && interval_ > 0 && events().has(kOnTimer) && !destroying();
  if (!run) {
    timer_->stop();
  } else if (!timer_->isActive()) {
    timer_->start(interval_);
  }
}

bool Timer::running() const {
  return timer_->isActive();
}

}  // namespace kv::ui
