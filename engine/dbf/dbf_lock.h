#pragma once
// Byte-range locks of shared tables, far beyond any real file data:
//
// | Lock                | Offset            | Length        | Attempts                    |
// |---------------------|-------------------|---------------|-----------------------------|
// | append lock         | 1,000,000,000     | 1             | repeated until obtained     |
// | record lock of n    | 1,000,000,000 + n | 1             | one                         |
// | file lock           | 1,000,000,001     | 1,000,000,000 | one                         |
//
// The file lock covers every record-lock byte, so the two exclude each other; the append
// lock byte lies just before them. The same append lock on the memo file serialises memo
// appends.
#include <cstdint>

#include "platform/file.h"

namespace kv::engine {

constexpr std::uint64_t kLockBase = 1000000000ULL;
constexpr std::uint64_t kFileLockLength = 1000000000ULL;

// Takes the append lock, trying again (with the wait hook between attempts) until it is
// obtained or the hard-error indicator is set; answers whether it was obtained.
bool netAppendLock(platform::File& f);
void netAppendUnlock(platform::File& f);
bool netRecordLock(platform::File& f, std::uint32_t recNo);
void netRecordUnlock(platform::File& f, std::uint32_t recNo);
bool netFileLock(platform::File& f);
void netFileUnlock(platform::File& f);

// Holds the append lock of a file for its lifetime (taken when `take` is true), so that an
// error that unwinds the operation never leaves it held.
class AppendLock {
 public:
  AppendLock(platform::File& f, bool take) : f_(&f), held_(take && netAppendLock(f)) {}
  ~AppendLock() { release(); }
  AppendLock(const AppendLock&) = delete;
  AppendLock& operator=(const AppendLock&) = delete;
  bool held() const { return held_; }
  // Takes the lock when not held yet (waiting as netAppendLock does); answers held().
  bool take() {
    if (!held_) held_ = netAppendLock(*f_);
    return held_;
  }
  void release() {
    if (held_) netAppendUnlock(*f_);
    held_ = false;
  }

 private:
  platform::File* f_;
  bool held_;
};

// Called between two attempts at the append lock: by default the event poll and a short
// pause. Tests and the runtime may replace it.
using LockWaitHook = void (*)();
void setLockWaitHook(LockWaitHook hook);
// The hard-error indicator that ends the wait for the append lock without the lock.
void setHardError(bool on);

}  // namespace kv::engine
