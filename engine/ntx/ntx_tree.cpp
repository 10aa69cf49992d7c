#include "engine/ntx/ntx_tree.h"

#include <algorithm>
#include <cstring>

#include "engine/ntx/ntx_key.h"
#include "runtime/error/errorchannel.h"

namespace kv::ntx {

// ---- pages, header and errors ----

bool NtxTree::fail() {
  stack_.clear();
  failed_ = true;
  return false;
}

bool NtxTree::readPage(std::uint32_t off, Page& p, bool forInsert) {
  p.setGeometry(h_.maxKeys, h_.itemSize);
  if (off < kPageSize || off % kPageSize != 0 || off + std::uint64_t(kPageSize) > endOffset_) {
    raiseNtxError(EG_CORRUPTION, kDbCorruption, io_->name());
    return false;
  }
  if (cacheUsable()) {
    auto it = cache_.find(off);
    if (it != cache_.end()) {
      std::copy(it->second.begin(), it->second.end(), p.bytes());
      return true;
    }
  }
  if (io_->readAt(off, p.bytes(), kPageSize) != kPageSize) {
    if (forInsert) internalError(17);
    return false;
  }
  if (!p.sound()) {
    raiseNtxError(EG_CORRUPTION, kDbCorruption, io_->name());
    return false;
  }
  if (cacheUsable()) cachePage(off, p);
  return true;
}

// Keeps at most this many pages of one order; a full cache starts over.
constexpr std::size_t kCachedPages = 512;

void NtxTree::cachePage(std::uint32_t off, const Page& p) {
  if (cache_.size() >= kCachedPages && cache_.find(off) == cache_.end()) cache_.clear();
  std::copy(p.bytes(), p.bytes() + kPageSize, cache_[off].begin());
}

bool NtxTree::announceUpdate() {
  if (!shared_ || lockCount_ == 0 || announced_) return true;
  std::uint8_t b[2];
  platform::writeLe16(b, static_cast<std::uint16_t>(h_.updateCounter + 1));
  if (io_->writeAt(2, b, sizeof b) != std::int64_t(sizeof b)) {
    raiseNtxError(EG_WRITE, kDbWrite, io_->name(), io_->lastError());
    return false;
  }
  ++h_.updateCounter;
  announced_ = true;
  return true;
}

bool NtxTree::writePage(std::uint32_t off, const Page& p) {
  // The cached copy goes first: whatever the write's outcome, the cache never keeps a page
  // older than the one asked for.
  cache_.erase(off);
  if (!announceUpdate()) return false;
  if (io_->writeAt(off, p.bytes(), kPageSize) != kPageSize) {
    raiseNtxError(EG_WRITE, kDbWrite, io_->name(), io_->lastError());
    return false;
  }
  if (cacheUsable()) cachePage(off, p);
  return true;
}

bool NtxTree::writeHeaderStart() {
  std::uint8_t b[kHeaderUpdateSize];
  platform::writeLe16(b, h_.signature);
  platform::writeLe16(b + 2, h_.updateCounter);
  platform::writeLe32(b + 4, h_.root);
  platform::writeLe32(b + 8, h_.freeHead);
  if (io_->writeAt(0, b, sizeof b) != std::int64_t(sizeof b)) {
    raiseNtxError(EG_WRITE, kDbWrite, io_->name(), io_->lastError());
    return false;
  }
  dirty_ = false;
  return true;
}

bool NtxTree::writeFullHeader() {
  std::uint8_t b[kPageSize];
  encodeHeader(h_, b);
  if (io_->writeAt(0, b, kPageSize) != kPageSize) return false;
  dirty_ = false;
  return true;
}

bool NtxTree::push(std::uint32_t page) {
  if (stack_.size() + 1 >= std::size_t(kMaxDepth)) {
    // Only a damaged file (a loop of child pointers) can be this deep.
    writeErrorChannel("Error DBFNTX, stack fault.");
    raiseNtxError(EG_CORRUPTION, kDbCorruption, io_->name());
    return false;
  }
  stack_.push_back(Level{page, 0, 0});
  return true;
}

void NtxTree::loadCurrent(const Page& p, int i) {
  curKey_.assign(reinterpret_cast<const char*>(p.key(i)), std::size_t(h_.keySize));
  curRecno_ = p.recno(i);
}

// ---- open, create, build ----

bool NtxTree::open(NtxIo& io, bool shared) {
  std::uint8_t b[kHeaderReadSize];
  NtxHeader h;
  std::int64_t n = io.readAt(0, b, sizeof b);
  std::int64_t size = io.size();
  if (n != std::int64_t(sizeof b) || !decodeHeader(b, sizeof b, h) ||
      !validateHeader(h, size).empty()) {
    raiseNtxError(EG_CORRUPTION, kDbCorruption, io.name());
    return false;
  }
  io_ = &io;
  h_ = h;
  shared_ = shared;
  dirty_ = false;
  lockCount_ = 0;
  endOffset_ = (std::uint64_t(size) + kPageSize - 1) / kPageSize * kPageSize;
  stack_.clear();
  clearCache();
  curKey_.assign(std::size_t(h_.keySize), ' ');
  curRecno_ = 0;
  return true;
}

bool NtxTree::create(NtxIo& io, NtxHeader h, std::vector<KeyEntry> entries, bool shared) {
  if (h.keySize < 1 || h.keySize > kMaxKeySize) {
    raiseNtxError(EG_DATAWIDTH, kDbKeyWidth, io.name());
    return false;
  }
  PageSizing s = pageSizing(h.keySize);
  h.itemSize = h.keySize + 8;
  h.maxKeys = s.maxKeys;
  h.halfPage = s.halfPage;
  h.updateCounter = 1;
  h.root = kPageSize;
  h.freeHead = 0;
  if (h.tagName.size() > 10) h.tagName.resize(10);
  io_ = &io;
  h_ = h;
  shared_ = shared;
  lockCount_ = 0;
  stack_.clear();
  clearCache();
  curKey_.assign(std::size_t(h_.keySize), ' ');
  curRecno_ = 0;
  if (!writeFullHeader()) {
    io_ = nullptr;
    return false;
  }
  return rebuild(std::move(entries));
}

bool NtxTree::rebuild(std::vector<KeyEntry> entries) {
  h_.root = kPageSize;
  h_.freeHead = 0;
  endOffset_ = kPageSize;
  stack_.clear();
  clearCache();
  io_->truncate(kPageSize);
  return buildTree(entries);
}

void NtxTree::sortEntries(std::vector<KeyEntry>& entries) const {
  // Keys are compared through the collation weights byte by byte; mapping every key to its
  // weights once lets the sort compare plain bytes. This is the same order only for keys of
  // one length, which the build's keys are (all padded to the key size).
  const std::size_t ks = std::size_t(h_.keySize);
  const bool sameLength = std::all_of(entries.begin(), entries.end(),
                                      [ks](const KeyEntry& e) { return e.key.size() == ks; });
  if (!sameLength) {
    std::stable_sort(entries.begin(), entries.end(), [this](const KeyEntry& a, const KeyEntry& b) {
      int c = compare(a.key, b.key);
      return c != 0 ? c < 0 : a.recno < b.recno;
    });
    return;
  }
  const auto& w = collationWeights();
  std::vector<std::uint8_t> mapped(entries.size() * ks);
  for (std::size_t i = 0; i < entries.size(); ++i)
    for (std::size_t j = 0; j < ks; ++j)
      mapped[i * ks + j] = w[static_cast<std::uint8_t>(entries[i].key[j])];
  // Weights that every key shares in front decide nothing; the eight after them, as one
  // big-endian number, decide most comparisons without touching the mapped keys.
  std::size_t common = entries.empty() ? 0 : ks;
  for (std::size_t i = 1; i < entries.size() && common > 0; ++i)
    common =
        std::size_t(std::mismatch(&mapped[0], &mapped[common], &mapped[i * ks]).first - &mapped[0]);
  struct Item {
    std::uint64_t prefix;
    std::uint32_t index;
  };
  std::vector<Item> order(entries.size());
  const std::size_t head = std::min<std::size_t>(ks, common + 8);
  for (std::size_t i = 0; i < order.size(); ++i) {
    std::uint64_t p = 0;
    for (std::size_t j = common; j < common + 8; ++j)
      p = p << 8 | (j < head ? mapped[i * ks + j] : 0);
    order[i] = Item{p, static_cast<std::uint32_t>(i)};
  }
  const bool desc = h_.descending;
  std::sort(order.begin(), order.end(), [&](const Item& a, const Item& b) {
    int c = a.prefix < b.prefix ? -1 : a.prefix > b.prefix ? 1 : 0;
    if (c == 0 && ks > head)
      c = std::memcmp(&mapped[a.index * ks + head], &mapped[b.index * ks + head], ks - head);
    if (desc) c = -c;
    return c != 0 ? c < 0 : entries[a.index].recno < entries[b.index].recno;
  });
  std::vector<KeyEntry> sorted;
  sorted.reserve(entries.size());
  for (const Item& it : order) sorted.push_back(std::move(entries[it.index]));
  entries.swap(sorted);
}

// Places sorted keys bottom-up: keys fill a leaf to the maximum; the key after a full page
// goes one level up as separator with that page as its child, and a fresh page starts.
// Pages are appended in the order they are completed, so the file is written sequentially.
bool NtxTree::buildTree(std::vector<KeyEntry>& entries) {
  const std::size_t ks = std::size_t(h_.keySize);
  for (auto& e : entries) e.key.resize(ks, ' ');
  sortEntries(entries);
  auto fresh = [this] {
    Page p(h_.maxKeys, h_.itemSize);
    p.initFresh();
    return p;
  };
  // Completed pages are appended strictly in file order, so they go out in batches.
  constexpr std::size_t kBatchBytes = 64 * kPageSize;
  std::vector<std::uint8_t> batch;
  std::uint32_t batchStart = 0;
  auto flushBatch = [&] {
    if (batch.empty()) return true;
    if (io_->writeAt(batchStart, batch.data(), batch.size()) != std::int64_t(batch.size())) {
      raiseNtxError(EG_WRITE, kDbWrite, io_->name(), io_->lastError());
      return false;
    }
    batch.clear();
    return true;
  };
  auto append = [&](const Page& p, std::uint32_t& off) {
    off = static_cast<std::uint32_t>(endOffset_);
    endOffset_ += kPageSize;
    if (batch.empty()) batchStart = off;
    batch.insert(batch.end(), p.bytes(), p.bytes() + kPageSize);
    return batch.size() < kBatchBytes || flushBatch();
  };
  std::vector<Page> levels;
  const std::string* prev = nullptr;
  for (const auto& e : entries) {
    if (h_.unique && prev && compare(*prev, e.key) == 0) continue;
    prev = &e.key;
    std::uint32_t child = 0;
    for (std::size_t lv = 0;; ++lv) {
      if (lv == levels.size()) levels.push_back(fresh());
      Page& p = levels[lv];
      int n = p.count();
      p.setChild(n, child);
      if (n < h_.maxKeys) {
        p.setEntry(n, e.recno, reinterpret_cast<const std::uint8_t*>(e.key.data()));
        p.setCount(n + 1);
        break;
      }
      if (!append(p, child)) return fail();
      p = fresh();
    }
  }
  std::uint32_t carry = 0;
  for (auto& p : levels) {
    p.setChild(p.count(), carry);
    // A level left without keys passes its only pointer up instead of becoming a page.
    if (p.count() > 0 && !append(p, carry)) return fail();
  }
  if (carry == 0 && !append(fresh(), carry)) return fail();
  if (!flushBatch()) return fail();
  h_.root = carry;
  h_.freeHead = 0;
  if (shared_) ++h_.updateCounter;
  if (!writeFullHeader()) {
    raiseNtxError(EG_WRITE, kDbWrite, io_->name(), io_->lastError());
    return fail();
  }
  return true;
}

// ---- comparison and searching ----

int NtxTree::compare(const std::uint8_t* a, std::size_t alen, const std::uint8_t* b,
                     std::size_t blen) const {
  int c = compareKeys(a, alen, b, blen);
  return h_.descending ? -c : c;
}

int NtxTree::compare(const std::string& a, const std::string& b) const {
  return compare(reinterpret_cast<const std::uint8_t*>(a.data()), a.size(),
                 reinterpret_cast<const std::uint8_t*>(b.data()), b.size());
}

int NtxTree::lowerBound(const Page& p, const std::uint8_t* key, std::size_t len) const {
  int lo = 0, hi = p.count();
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    if (compare(p.key(mid), std::size_t(h_.keySize), key, len) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

int NtxTree::upperBound(const Page& p, const std::uint8_t* key) const {
  int lo = 0, hi = p.count();
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    if (compare(p.key(mid), std::size_t(h_.keySize), key, std::size_t(h_.keySize)) <= 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

// One level of the exact / soft search: the child before the first key not less than the
// sought key is searched first (it may hold the leftmost equal key); failing that, this
// page's key is taken when it equals (exact) or in any case (soft). Answers 1 found, 0 not,
// -1 on a failure.
int NtxTree::search(std::uint32_t page, const std::uint8_t* key, std::size_t len, bool soft,
                    bool& ok) {
  if (!push(page)) return ok = false, 0;
  std::size_t my = stack_.size() - 1;
  Page p;
  if (!readPage(page, p)) return ok = false, 0;
  int n = p.count();
  int i = lowerBound(p, key, len);
  stack_[my].idx = i;
  stack_[my].count = n;
  if (std::uint32_t c = p.child(i)) {
    if (search(c, key, len, soft, ok)) return 1;
    if (!ok) return 0;
    stack_.resize(my + 1);
  }
  if (i < n && (soft || compare(p.key(i), std::size_t(h_.keySize), key, len) == 0)) {
    loadCurrent(p, i);
    return 1;
  }
  return 0;
}

std::uint32_t NtxTree::seek(const std::string& key, bool soft) {
  stack_.clear();
  std::size_t len = std::min(key.size(), std::size_t(h_.keySize));
  bool ok = true;
  if (search(h_.root, reinterpret_cast<const std::uint8_t*>(key.data()), len, soft, ok))
    return curRecno_;
  stack_.clear();
  return 0;
}

// Walks forward from position `pos` of the top page: with `enterChild`, first into the
// subtree left of key `pos`. Answers true with the next key current, false at the end (the
// stack then is empty) or on a failure.
bool NtxTree::forwardFrom(int pos, bool enterChild) {
  while (true) {
    Page p;
    if (!readPage(stack_.back().page, p)) return fail();
    int n = p.count();
    stack_.back().count = n;
    if (enterChild && pos <= n && p.child(pos) != 0) {
      stack_.back().idx = pos;
      if (!push(p.child(pos))) return fail();
      pos = 0;
      continue;
    }
    if (pos < n) {
      stack_.back().idx = pos;
      loadCurrent(p, pos);
      return true;
    }
    stack_.pop_back();
    if (stack_.empty()) return false;
    pos = stack_.back().idx;
    enterChild = false;
  }
}

// The mirror image: position `pos` (-1: the end of the page) stands for the subtree left of
// key `pos`, and the key before it is key pos - 1.
bool NtxTree::backwardFrom(int pos, bool enterChild) {
  while (true) {
    Page p;
    if (!readPage(stack_.back().page, p)) return fail();
    int n = p.count();
    stack_.back().count = n;
    if (pos < 0 || pos > n) pos = n;
    if (enterChild && p.child(pos) != 0) {
      stack_.back().idx = pos;
      if (!push(p.child(pos))) return fail();
      pos = -1;
      continue;
    }
    if (pos > 0) {
      stack_.back().idx = pos - 1;
      loadCurrent(p, pos - 1);
      return true;
    }
    stack_.pop_back();
    if (stack_.empty()) return false;
    pos = stack_.back().idx;
    enterChild = false;
  }
}

std::uint32_t NtxTree::first() {
  stack_.clear();
  if (!push(h_.root) || !forwardFrom(0, true)) return fail(), 0;
  return curRecno_;
}

std::uint32_t NtxTree::last() {
  stack_.clear();
  if (!push(h_.root) || !backwardFrom(-1, true)) return fail(), 0;
  return curRecno_;
}

std::uint32_t NtxTree::next() {
  if (stack_.empty()) return 0;
  saved_ = stack_;
  failed_ = false;
  if (forwardFrom(stack_.back().idx + 1, true)) return curRecno_;
  if (!failed_) stack_ = saved_;
  return 0;
}

std::uint32_t NtxTree::prev() {
  if (stack_.empty()) return 0;
  saved_ = stack_;
  failed_ = false;
  if (backwardFrom(stack_.back().idx, true)) return curRecno_;
  if (!failed_) stack_ = saved_;
  return 0;
}

bool NtxTree::relocate(const std::string& key, std::uint32_t recno, bool scan) {
  std::string k = key;
  k.resize(std::size_t(h_.keySize), ' ');
  // A sound file cannot hold more keys than this; a damaged one must not keep us here.
  const std::uint64_t most = endOffset_ / kPageSize * std::uint64_t(h_.maxKeys + 1);
  std::uint64_t limit = most;
  std::uint32_t r = seek(k, false);
  for (; r != 0 && r != recno && limit > 0; --limit) {
    r = next();
    if (r != 0 && compare(curKey_, k) != 0) r = 0;
  }
  if (r == recno && r != 0) return true;
  if (scan) {
    limit = most;
    for (r = first(); r != 0 && r != recno && limit > 0; --limit) r = next();
    if (r == recno && r != 0) return true;
  }
  stack_.clear();
  return false;
}

}  // namespace kv::ntx
