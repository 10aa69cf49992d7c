#pragma once
// An open NTX index file: the key tree with its position (the descent stack from the root
// to the current key), searching, stepping, inserting and deleting keys, the bottom-up
// build from sorted keys, the free-page list, and the index lock with change detection for
// files shared between processes.
//
// Keys in the tree are ordered by the collation (inverted for a descending order); equal
// keys keep the order they were inserted in (a new key goes after its equals). Record
// numbers are 1-based; 0 means "no record".
//
// Every failure is raised through the runtime's error system with the subsystem "DBFNTX"
// (corruption 32/1012 for a damaged header or page, a page outside the file or a descent
// deeper than 1023 levels; write error 24/1011; lock errors 41/1031..1038); the operation
// then ends without a result and the position is cleared. Damaged files never crash or hang.
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/ntx/ntx_format.h"
#include "engine/ntx/ntx_io.h"

namespace kv::ntx {

// A key with its record number, as the build takes them and the checker lists them.
struct KeyEntry {
  std::string key;
  std::uint32_t recno = 0;
};

class NtxTree {
 public:
  // Creates the index in an empty file: writes the header `h` (sizes computed from its key
  // size) and builds the tree from `entries` (sorted here). A header that cannot be written
  // in full answers false with no error raised; a key size outside 1..256 raises the
  // data-width error (34/1026) and answers false.
  bool create(NtxIo& io, NtxHeader h, std::vector<KeyEntry> entries, bool shared);
  // Opens an existing index: reads and checks the header (corruption error 32/1012 and false
  // when it is unreadable or unsound).
  bool open(NtxIo& io, bool shared);
  // Rebuilds the tree of an open index from `entries`: the file is cut after the header.
  bool rebuild(std::vector<KeyEntry> entries);

  const NtxHeader& header() const { return h_; }
  bool isOpen() const { return io_ != nullptr; }
  bool shared() const { return shared_; }
  int keySize() const { return h_.keySize; }

  // Compares keys in this order's sense (collation, descending inverted) over the shorter
  // length.
  int compare(const std::uint8_t* a, std::size_t alen, const std::uint8_t* b,
              std::size_t blen) const;
  int compare(const std::string& a, const std::string& b) const;
  // Sorts keys for the build: by key in this order's sense, then by record number.
  void sortEntries(std::vector<KeyEntry>& entries) const;

  // Searches: the record number found (0: none), the position left on it. The bytes of `key`
  // take part, at most the key size of them, so a shorter key finds the keys it begins.
  // Exact: the leftmost key equal to it; soft: the leftmost key not less than it.
  std::uint32_t seek(const std::string& key, bool soft);
  std::uint32_t first();
  std::uint32_t last();
  // Steps from the current position; 0 at either end (the position is kept at the end).
  std::uint32_t next();
  std::uint32_t prev();
  // Positions on the key `key` (full size) with record number `recno`; with `scan`, falls
  // back to walking the whole order for the record number. False when not found.
  bool relocate(const std::string& key, std::uint32_t recno, bool scan);

  // Inserts a key (full key size) with its record number after its equals.
  bool insert(const std::string& key, std::uint32_t recno);
  // Removes the key of `recno` (found as by relocate without scan). False when absent.
  bool remove(const std::string& key, std::uint32_t recno);
  // Removes the key the index is positioned on.
  bool removeCurrent();

  // Position: set when depth > 0.
  bool positioned() const { return !stack_.empty(); }
  void clearPosition() { stack_.clear(); }
  const std::string& currentKey() const { return curKey_; }
  std::uint32_t currentRecno() const { return curRecno_; }

  // Index lock (shared files only; nests). After the outermost take, a changed update counter
  // in the file reloads root and free head and clears the position. False when the lock
  // could not be had (the lock error was raised and not retried).
  bool lock();
  bool unlock();
  // Ends an update of a shared file: counter + 1 and the first 12 header bytes written.
  bool commitUpdate();
  // Writes pending header changes of an exclusive file and commits the file to disk.
  bool flush();
  // Byte offset of the index lock.
  std::uint64_t lockOffset() const;

 private:
  struct Level {
    std::uint32_t page;
    int idx;
    int count;
  };
  struct Item {
    std::uint32_t child;
    std::uint32_t recno;
    std::string key;
  };

  bool readPage(std::uint32_t off, Page& p, bool forInsert = false);
  bool writePage(std::uint32_t off, const Page& p);
  bool writeHeaderStart();
  bool writeFullHeader();
  // Before the first page write under a shared lock the update counter is moved on and
  // written, so a process stopped before its update is committed still tells the others
  // that their cached pages are old.
  bool announceUpdate();
  bool push(std::uint32_t page);
  void loadCurrent(const Page& p, int i);
  int lowerBound(const Page& p, const std::uint8_t* key, std::size_t len) const;
  int upperBound(const Page& p, const std::uint8_t* key) const;
  int search(std::uint32_t page, const std::uint8_t* key, std::size_t len, bool soft, bool& found);
  bool forwardFrom(int pos, bool enterChild);
  bool backwardFrom(int pos, bool enterChild);
  bool findInsertPosition(const std::uint8_t* key);
  std::uint32_t takePage();
  bool releasePage(std::uint32_t off);
  bool afterRemoval(Page& p);
  bool buildTree(std::vector<KeyEntry>& entries);
  bool fail();
  // Pages read or written stay in a cache while their contents are known to be current: for
  // an exclusive file always, for a shared file only under the index lock, and only until
  // the lock finds that another process changed the index (the update counter moved).
  bool cacheUsable() const { return !shared_ || lockCount_ > 0; }
  void cachePage(std::uint32_t off, const Page& p);
  void clearCache() { cache_.clear(); }

  NtxIo* io_ = nullptr;
  NtxHeader h_;
  bool shared_ = false;
  bool dirty_ = false;
  bool failed_ = false;
  int lockCount_ = 0;
  bool announced_ = false;  // the counter of the update under way is already written
  std::uint64_t endOffset_ = kPageSize;
  std::vector<Level> stack_;
  std::vector<Level> saved_;  // the position before a step, restored at either end
  std::string curKey_;
  std::uint32_t curRecno_ = 0;
  std::unordered_map<std::uint32_t, std::array<std::uint8_t, kPageSize>> cache_;
};

}  // namespace kv::ntx
