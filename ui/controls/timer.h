#pragma once
// Timers: a component that fires OnTimer(Self) every Interval milliseconds (default 1000)
// while it is enabled and has an OnTimer block. Setting a different Interval while it runs
// starts it again with the new interval; disabling or destroying it stops it. Each tick is a
// message of the message loop, so OnTimer runs only between other handlers (or in a nested
// message step one of them runs).
#include <memory>

#include "ui/core/component.h"

class QTimer;

namespace kv::ui {

class Timer : public Component {
 public:
  Timer();
  ~Timer() override;

  int interval() const { return interval_; }
  void setInterval(int ms);
  bool enabled() const { return enabled_; }
  void setEnabled(bool on);
  // Starts or stops the system timer as the state says.
  void update();
  bool running() const;

 protected:
  void release() override;

 private:
  std::unique_ptr<QTimer> timer_;
  int interval_ = 1000;
  bool enabled_ = true;
};

extern const LibClass kTimerClass;
Value TTimer();

}  // namespace kv::ui
