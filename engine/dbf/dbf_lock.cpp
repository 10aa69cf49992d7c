#include "engine/dbf/dbf_lock.h"

#include <time.h>

#include "runtime/lang/eventpoll.h"

namespace kv::engine {

namespace {

void defaultWait() {
  kv::eventPoll();
  // A short pause keeps a waiting station from spinning on the lock while another station
  // writes; the wait ends as soon as the lock is free.
  timespec ts{0, 200000};
  nanosleep(&ts, nullptr);
}

LockWaitHook g_wait = defaultWait;
bool g_hardError = false;

}  // namespace

void setLockWaitHook(LockWaitHook hook) {
  g_wait = hook ? hook : defaultWait;
}
void setHardError(bool on) {
  g_hardError = on;
}

bool netAppendLock(platform::File& f) {
  for (;;) {
    if (f.lock(kLockBase, 1)) return true;
    if (platform::lastOsError() != 33 || g_hardError) return false;
    g_wait();
    if (g_hardError) return false;
  }
}

void netAppendUnlock(platform::File& f) {
  f.unlock(kLockBase, 1);
}

bool netRecordLock(platform::File& f, std::uint32_t recNo) {
  return f.lock(kLockBase + recNo, 1);
}

void netRecordUnlock(platform::File& f, std::uint32_t recNo) {
  f.unlock(kLockBase + recNo, 1);
}

bool netFileLock(platform::File& f) {
  return f.lock(kLockBase + 1, kFileLockLength);
}

void netFileUnlock(platform::File& f) {
  f.unlock(kLockBase + 1, kFileLockLength);
}

}  // namespace kv::engine
