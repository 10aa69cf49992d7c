#pragma once
// A writer's wait for the lock of a record another station holds. The lock is waited for as
// REC_LOCK(0, ...) does, without a limit; once the wait has lasted a moment the station says
// why it stands still, so the program does not look frozen, and says it again is over when
// the lock is granted.
#include <string>

#include "runtime/value/value.h"

namespace kv::app {

// How long a writer waits for a record lock before it tells the user.
inline constexpr double kRecordWaitNoticeSeconds = 0.3;

// What the user sees while a writer waits. begin() is called once the wait has lasted
// kRecordWaitNoticeSeconds, pass() about every 0.1 s after that (the window part lets its
// boxes paint), end() once when the lock is granted or the wait unwinds after begin().
class RecordWaitNotice {
 public:
  virtual ~RecordWaitNotice() = default;
  virtual void begin() = 0;
  virtual void pass() {}
  virtual void end() = 0;
};

// The notice through the application's message dialog: the wait box (type 4) with `text`,
// destroyed at the end.
class WaitBoxNotice : public RecordWaitNotice {
 public:
  explicit WaitBoxNotice(std::string text) : text_(std::move(text)) {}
  void begin() override;
  void end() override;

 private:
  std::string text_;
  Value box_;
};

// The wait box text of a work order held by another station.
inline constexpr const char* kOrderBusyText = "Nalog je zauzet na drugom racunaru, cekam...";

// Locks the current record of the work area `alias` as REC_LOCK(0, alias) does (true at once
// when this station holds it already), telling `notice` (when not null) about a wait that
// lasts. Answers true once the lock is held; an error that unwinds the wait (the program
// asked to end) ends the notice first.
bool lockRecordWaiting(const Value& alias, RecordWaitNotice* notice);

}  // namespace kv::app
