#include "engine/ntx/ntx_check.h"

#include <vector>

#include "engine/ntx/ntx_key.h"

namespace kv::ntx {

namespace {

class Checker {
 public:
  Checker(NtxIo& io, NtxCheckReport& r) : io_(io), r_(r) {}

  void run() {
    std::uint8_t b[kHeaderReadSize];
    std::int64_t size = io_.size();
    if (size < 0 || io_.readAt(0, b, sizeof b) != std::int64_t(sizeof b)) {
      r_.problems.push_back("header cannot be read");
      return;
    }
    decodeHeader(b, sizeof b, r_.header);
    std::string err = validateHeader(r_.header, size);
    if (!err.empty()) {
      r_.problems.push_back("header: " + err);
      return;
    }
    r_.headerSound = true;
    if (size % kPageSize != 0)
      r_.notes.push_back("file size " + std::to_string(size) + " is not a multiple of 1024");
    pages_ = std::size_t(size) / kPageSize;
    state_.assign(pages_, 0);
    visit(r_.header.root, 1);
    checkOrder();
    walkFreeList();
    for (std::size_t i = 1; i < pages_; ++i)
      if (state_[i] == 0)
        r_.notes.push_back("page " + std::to_string(i * kPageSize) +
                           " is neither in the tree nor on the free list");
  }

 private:
  bool soundOffset(std::uint32_t off) const {
    return off >= kPageSize && off % kPageSize == 0 && off / kPageSize < pages_;
  }

  bool load(std::uint32_t off, Page& p, const char* what) {
    p.setGeometry(r_.header.maxKeys, r_.header.itemSize);
    if (io_.readAt(off, p.bytes(), kPageSize) != kPageSize) {
      r_.problems.push_back(std::string(what) + " " + std::to_string(off) + " cannot be read");
      return false;
    }
    std::string err = p.validate();
    if (!err.empty()) {
      r_.problems.push_back(std::string(what) + " " + std::to_string(off) + ": " + err);
      return false;
    }
    return true;
  }

  void visit(std::uint32_t off, int depth) {
    if (depth > r_.depth) r_.depth = depth;
    if (!soundOffset(off)) {
      r_.problems.push_back("page offset " + std::to_string(off) + " outside the file");
      return;
    }
    if (state_[off / kPageSize] != 0) {
      r_.problems.push_back("page " + std::to_string(off) + " reached twice (a loop)");
      return;
    }
    state_[off / kPageSize] = 1;
    if (depth >= kMaxDepth) {
      r_.problems.push_back("tree deeper than " + std::to_string(kMaxDepth) + " levels");
      return;
    }
    Page p;
    if (!load(off, p, "page")) return;
    ++r_.treePages;
    int n = p.count();
    if (n == 0 && depth > 1)
      r_.problems.push_back("page " + std::to_string(off) + " holds no keys");
    const std::size_t ks = std::size_t(r_.header.keySize);
    for (int i = 0; i <= n; ++i) {
      if (std::uint32_t c = p.child(i)) visit(c, depth + 1);
      if (i < n) {
        KeyEntry e{std::string(reinterpret_cast<const char*>(p.key(i)), ks), p.recno(i)};
        r_.entries.push_back(std::move(e));
        pageOf_.push_back(off);
      }
    }
  }

  void checkOrder() {
    for (std::size_t i = 1; i < r_.entries.size(); ++i) {
      int c = compareKeys(r_.entries[i - 1].key, r_.entries[i].key);
      if (r_.header.descending) c = -c;
      if (c > 0)
        r_.problems.push_back("key of record " + std::to_string(r_.entries[i].recno) + " in page " +
                              std::to_string(pageOf_[i]) + " sorts before the key preceding it");
    }
  }

  void walkFreeList() {
    std::uint32_t off = r_.header.freeHead;
    while (off != 0) {
      if (!soundOffset(off)) {
        r_.problems.push_back("free page " + std::to_string(off) + " outside the file");
        return;
      }
      std::uint8_t& st = state_[off / kPageSize];
      if (st != 0) {
        r_.problems.push_back(st == 1 ? "free page " + std::to_string(off) + " is in the tree"
                                      : "free list loops at page " + std::to_string(off));
        return;
      }
      st = 2;
      Page p;
      if (!load(off, p, "free page")) return;
      ++r_.freePages;
      if (p.count() != 0) r_.problems.push_back("free page " + std::to_string(off) + " holds keys");
      off = p.child(0);
    }
  }

  NtxIo& io_;
  NtxCheckReport& r_;
  std::size_t pages_ = 0;
  std::vector<std::uint8_t> state_;  // per page: 0 unseen, 1 tree, 2 free
  std::vector<std::uint32_t> pageOf_;
};

}  // namespace

NtxCheckReport checkNtx(NtxIo& io) {
  NtxCheckReport r;
  Checker(io, r).run();
  return r;
}

}  // namespace kv::ntx
