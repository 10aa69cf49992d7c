#include "app/core/uniqueappend.h"

#include <chrono>
#include <thread>

#include "app/core/datafiles.h"
#include "engine/area/dberror.h"
#include "engine/area/dbfunc.h"
#include "platform/file.h"
#include "runtime/error/callstack.h"
#include "runtime/error/error.h"
#include "runtime/error/errorcodes.h"
#include "runtime/lang/eventpoll.h"

namespace kv::app {

using namespace kv::engine;

namespace {

// The pause between two attempts at a claim another station holds: it holds the claim only
// while it appends and writes back one record.
constexpr std::chrono::milliseconds kClaimPause{2};

// The key-claim lock of one table, held for the object's lifetime.
class KeyClaim {
 public:
  // Takes the claim; held() tells whether it was obtained.
  explicit KeyClaim(const std::string& tableFile) {
    for (int attempt = 1;; ++attempt) {
      if (file_.open(tableFile, platform::Access::ReadWrite, platform::Share::Shared,
                     platform::Disposition::OpenExisting))
        break;
      const ErrorResult r =
          raiseError(fileError(EG_OPEN, kDbOpenTable, tableFile, platform::lastOsError())
                         .op("appendIfKeyFree")
                         .allow(kCanRetry | kCanDefault)
                         .attempt(attempt));
      if (r.answer != ErrorAnswer::Retry) return;
    }
    for (;;) {
      if (file_.lock(kKeyClaimOffset, 1)) {
        held_ = true;
        return;
      }
      eventPoll();
      std::this_thread::sleep_for(kClaimPause);
    }
  }
  ~KeyClaim() {
    if (held_) file_.unlock(kKeyClaimOffset, 1);
  }
  KeyClaim(const KeyClaim&) = delete;
  KeyClaim& operator=(const KeyClaim&) = delete;
  bool held() const { return held_; }

 private:
  platform::File file_;
  bool held_ = false;
};

}  // namespace

KeyAppend appendIfKeyFree(const Value& alias, const std::string& tableFile, const Value& key,
                          const std::function<void()>& write) {
  KV_PROC("APPENDIFKEYFREE");
  DBSELECTAREA(alias);
  KeyClaim claim(tableFile);
  if (!claim.held()) return KeyAppend::Abandoned;
  KV_LINE();
  if (DBSEEK(key).asBool()) return KeyAppend::Exists;
  KV_LINE();
  appendBlank();
  KV_LINE();
  write();
  // The writer may have selected another area; the caller goes on in this one.
  DBSELECTAREA(alias);
  return KeyAppend::Appended;
}

}  // namespace kv::app
