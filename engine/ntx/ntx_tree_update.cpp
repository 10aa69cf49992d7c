// Changing an open index: insert with page splits up to a new root, delete with replacement
// from the subtree, the free-page list, the index lock with change detection, and flush.
#include <chrono>
#include <thread>

#include "engine/ntx/ntx_tree.h"

namespace kv::ntx {

namespace {
constexpr int kLockAttempts = 1000;
}

// Descends to the page where a new key belongs: in each page the position after the last
// key not greater than it, down to a page whose pointer there is empty.
bool NtxTree::findInsertPosition(const std::uint8_t* key) {
  stack_.clear();
  std::uint32_t page = h_.root;
  while (true) {
    if (!push(page)) return false;
    Page p;
    if (!readPage(page, p, true)) return false;
    int i = upperBound(p, key);
    stack_.back().idx = i;
    stack_.back().count = p.count();
    page = p.child(i);
    if (page == 0) return true;
  }
}

// A page for a split or a new root: the head of the free list, else a new one at the end.
std::uint32_t NtxTree::takePage() {
  if (h_.freeHead != 0) {
    std::uint32_t off = h_.freeHead;
    Page p;
    if (!readPage(off, p)) return 0;
    std::uint32_t next = p.child(0);
    // A free page holds no keys; one that does is in use, so the list is damaged.
    if (p.count() != 0 || next == off ||
        (next != 0 && (next % kPageSize != 0 || next + std::uint64_t(kPageSize) > endOffset_))) {
      raiseNtxError(EG_CORRUPTION, kDbCorruption, io_->name());
      return 0;
    }
    h_.freeHead = next;
    dirty_ = true;
    return off;
  }
  if (endOffset_ + kPageSize > 0xFFFFFFFFULL) {
    raiseNtxError(EG_WRITE, kDbWrite, io_->name(), 112);
    return 0;
  }
  auto off = static_cast<std::uint32_t>(endOffset_);
  endOffset_ += kPageSize;
  return off;
}

bool NtxTree::releasePage(std::uint32_t off) {
  Page p(h_.maxKeys, h_.itemSize);
  p.initFresh();
  p.setChild(0, h_.freeHead);
  if (!writePage(off, p)) return false;
  h_.freeHead = off;
  dirty_ = true;
  return true;
}

bool NtxTree::insert(const std::string& keyIn, std::uint32_t recno) {
  std::string key = keyIn;
  key.resize(std::size_t(h_.keySize), ' ');
  if (!findInsertPosition(reinterpret_cast<const std::uint8_t*>(key.data()))) return fail();
  Item up{0, recno, key};
  std::uint32_t newRight = 0;
  bool fromBelow = false;
  const int max = h_.maxKeys;
  for (std::size_t lv = stack_.size(); lv-- > 0;) {
    const Level at = stack_[lv];
    Page p;
    if (!readPage(at.page, p, true)) return fail();
    const int pos = at.idx;
    const int n = p.count();
    if (pos > n) return fail();
    if (n < max) {
      p.openAt(pos);
      p.setChild(pos, up.child);
      p.setEntry(pos, up.recno, reinterpret_cast<const std::uint8_t*>(up.key.data()));
      if (fromBelow) p.setChild(pos + 1, newRight);
      if (!writePage(at.page, p)) return fail();
      break;
    }
    // Split: of the maximum + 1 keys the lower half stays, the middle one goes up, the rest
    // moves to a new page; each key keeps its child.
    std::vector<Item> items;
    items.reserve(std::size_t(max) + 1);
    for (int i = 0; i < n; ++i)
      items.push_back(Item{p.child(i), p.recno(i),
                           std::string(reinterpret_cast<const char*>(p.key(i)), key.size())});
    std::uint32_t right = p.child(n);
    items.insert(items.begin() + pos, up);
    if (fromBelow) {
      if (pos + 1 < int(items.size()))
        items[std::size_t(pos) + 1].child = newRight;
      else
        right = newRight;
    }
    const int half = h_.halfPage;
    std::uint32_t newOff = takePage();
    if (newOff == 0) return fail();
    Page lo(max, h_.itemSize), hi(max, h_.itemSize);
    lo.initFresh();
    hi.initFresh();
    auto put = [](Page& pg, int i, const Item& it) {
      pg.setChild(i, it.child);
      pg.setEntry(i, it.recno, reinterpret_cast<const std::uint8_t*>(it.key.data()));
    };
    for (int i = 0; i < half; ++i) put(lo, i, items[std::size_t(i)]);
    lo.setChild(half, items[std::size_t(half)].child);
    lo.setCount(half);
    int m = 0;
    for (std::size_t i = std::size_t(half) + 1; i < items.size(); ++i) put(hi, m++, items[i]);
    hi.setChild(m, right);
    hi.setCount(m);
    if (!writePage(newOff, hi) || !writePage(at.page, lo)) return fail();
    up = Item{at.page, items[std::size_t(half)].recno, items[std::size_t(half)].key};
    newRight = newOff;
    fromBelow = true;
    if (lv == 0) {
      // The root split: a new root holds the middle key between the two halves.
      std::uint32_t rootOff = takePage();
      if (rootOff == 0) return fail();
      Page r(max, h_.itemSize);
      r.initFresh();
      put(r, 0, up);
      r.setChild(1, newRight);
      r.setCount(1);
      if (!writePage(rootOff, r)) return fail();
      h_.root = rootOff;
    }
  }
  stack_.clear();
  dirty_ = true;
  return true;
}

bool NtxTree::remove(const std::string& key, std::uint32_t recno) {
  if (!relocate(key, recno, false)) return false;
  return removeCurrent();
}

// Removes the current key. A key with a child is replaced by the greatest key of that
// subtree, whose own item is removed in turn; pages are never merged. A page left without
// keys is released, and the pointer to it takes its remaining child (if any), so no
// subtree becomes unreachable.
bool NtxTree::removeCurrent() {
  if (stack_.empty()) return false;
  std::size_t lv = stack_.size() - 1;
  Page p;
  if (!readPage(stack_[lv].page, p, true)) return fail();
  int i = stack_[lv].idx;
  while (true) {
    if (i < 0 || i >= p.count()) return fail();
    std::uint32_t c = p.child(i);
    if (c == 0) {
      p.closeAt(i);
      if (!writePage(stack_[lv].page, p) || !afterRemoval(p)) return fail();
      break;
    }
    if (!push(c)) return fail();
    Page q;
    if (!readPage(c, q, true)) return fail();
    while (q.child(q.count()) != 0) {
      stack_.back().idx = q.count();
      if (!push(q.child(q.count())) || !readPage(stack_.back().page, q, true)) return fail();
    }
    int qn = q.count();
    if (qn == 0) {
      raiseNtxError(EG_CORRUPTION, kDbCorruption, io_->name());
      return fail();
    }
    stack_.back().idx = qn - 1;
    p.setEntry(i, q.recno(qn - 1), q.key(qn - 1));
    if (!writePage(stack_[lv].page, p)) return fail();
    p = q;
    lv = stack_.size() - 1;
    i = qn - 1;
  }
  stack_.clear();
  dirty_ = true;
  return true;
}

// After a key left the page on top of the stack: an emptied page other than the root is
// released and its parent's pointer takes the page's remaining child; an emptied root with
// a child hands the root over to it.
bool NtxTree::afterRemoval(Page& p) {
  if (p.count() > 0) return true;
  std::uint32_t off = stack_.back().page;
  std::uint32_t rest = p.child(0);
  if (stack_.size() == 1) {
    if (rest == 0) return true;
    h_.root = rest;
    dirty_ = true;
    return releasePage(off);
  }
  const Level& parent = stack_[stack_.size() - 2];
  Page pp;
  if (!readPage(parent.page, pp, true)) return false;
  pp.setChild(parent.idx, rest);
  return writePage(parent.page, pp) && releasePage(off);
}

// ---- sharing ----

std::uint64_t NtxTree::lockOffset() const {
  return (h_.signature & kSigAltLock) ? kIndexAltLockOffset : kIndexLockOffset;
}

bool NtxTree::lock() {
  if (!shared_) return true;
  if (lockCount_ > 0) {
    ++lockCount_;
    return true;
  }
  while (true) {
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
      if (io_->lock(lockOffset(), 1)) {
        lockCount_ = 1;
        // Change detection: another process's update shows in the counter.
        std::uint8_t b[kHeaderUpdateSize];
        if (io_->readAt(0, b, sizeof b) == std::int64_t(sizeof b) &&
            platform::readLe16(b + 2) != h_.updateCounter) {
          h_.updateCounter = platform::readLe16(b + 2);
          h_.root = platform::readLe32(b + 4);
          h_.freeHead = platform::readLe32(b + 8);
          std::int64_t size = io_->size();
          if (size > 0) endOffset_ = (std::uint64_t(size) + kPageSize - 1) / kPageSize * kPageSize;
          stack_.clear();
          clearCache();
        }
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    int os = io_->lastError();
    ErrorResult r =
        raiseNtxError(EG_LOCK, os ? kDbLockFailed : kDbLockTaken, io_->name(), os, kCanRetry, 1);
    if (r.answer != ErrorAnswer::Retry) return false;
  }
}

bool NtxTree::unlock() {
  if (!shared_ || lockCount_ == 0) return true;
  if (--lockCount_ > 0) return true;
  announced_ = false;
  if (!io_->unlock(lockOffset(), 1)) {
    int os = io_->lastError();
    raiseNtxError(EG_LOCK, os ? kDbUnlockFailed : kDbUnlockRefused, io_->name(), os);
    return false;
  }
  return true;
}

bool NtxTree::commitUpdate() {
  if (!shared_) return true;
  // An update whose pages went out has moved the counter already.
  if (!announced_) ++h_.updateCounter;
  announced_ = false;
  return writeHeaderStart();
}

bool NtxTree::flush() {
  bool ok = true;
  if (!shared_ && dirty_) {
    std::uint8_t b[kHeaderReadSize];
    if (io_->readAt(0, b, sizeof b) != std::int64_t(sizeof b)) {
      ok = false;
    } else {
      platform::writeLe16(b + 2, 1);
      platform::writeLe32(b + 4, h_.root);
      platform::writeLe32(b + 8, h_.freeHead);
      h_.updateCounter = 1;
      ok = io_->writeAt(0, b, sizeof b) == std::int64_t(sizeof b);
      if (ok) dirty_ = false;
    }
    if (!ok) raiseNtxError(EG_WRITE, kDbWrite, io_->name(), io_->lastError());
  }
  // A commit the system refuses is told like a failed write.
  if (!io_->flush()) {
    raiseNtxError(EG_WRITE, kDbWrite, io_->name(), io_->lastError());
    return false;
  }
  return ok;
}

}  // namespace kv::ntx
