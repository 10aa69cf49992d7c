#include "app/core/recordwait.h"

#include "app/core/datafiles.h"
#include "app/core/messagedlg.h"

namespace kv::app {

namespace {

// The slice of one REC_LOCK call between two passes of the notice.
constexpr double kPassSeconds = 0.1;

// Ends a begun notice on every way out of the wait.
class NoticeScope {
 public:
  explicit NoticeScope(RecordWaitNotice* n) : notice_(n) {
    if (notice_) notice_->begin();
  }
  ~NoticeScope() {
    if (notice_) notice_->end();
  }
  NoticeScope(const NoticeScope&) = delete;
  NoticeScope& operator=(const NoticeScope&) = delete;

 private:
  RecordWaitNotice* notice_;
};

}  // namespace

void WaitBoxNotice::begin() {
  box_ = MessageDlg(Value(text_), Value(4));
}

void WaitBoxNotice::end() {
  closeWaitBox(box_);
  box_ = Value();
}

bool lockRecordWaiting(const Value& alias, RecordWaitNotice* notice) {
  if (REC_LOCK(Value(kRecordWaitNoticeSeconds), alias)) return true;
  NoticeScope shown(notice);
  for (;;) {
    if (notice) notice->pass();
    if (REC_LOCK(Value(kPassSeconds), alias)) return true;
  }
}

}  // namespace kv::app
