#pragma once
// One open order of a "DBFNTX" work area: its index file and key tree, the compiled key and
// FOR blocks, the key's field when the key text is a plain field name, and what the order
// knew about the record that is being changed. The work area keeps up to 16 of them.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/area/workarea.h"
#include "engine/ntx/ntx_io.h"
#include "engine/ntx/ntx_tree.h"
#include "platform/file.h"

namespace kv::engine {

class DbfArea;

class NtxOrder {
 public:
  NtxOrder() = default;
  ~NtxOrder();
  NtxOrder(const NtxOrder&) = delete;
  NtxOrder& operator=(const NtxOrder&) = delete;

  // Opens the existing index file `path` of the table in `area` (shared and read-only as
  // the table): open error 21/1003 (retry allowed) when the file cannot be opened;
  // corruption 32/1012 when the header is unsound or its key or FOR text does not compile.
  // False after a failure (the file is closed again).
  bool open(DbfArea& area, const std::string& path);

  // Creates the index file `path` (create error 20/1006, retry allowed) holding the keys of
  // every record of the table, with header `h` (key size and decimals filled in) and the
  // given blocks. `cond` is the pending order condition (nullptr when none). Answers
  // kSuccess, kFailure after a raised error, or kIndexHeaderShort when the header could not
  // be written in full (no error raised).
  [[nodiscard]] Status create(DbfArea& area, const std::string& path, const ntx::NtxHeader& h,
                              const Value& keyBlock, const Value& forBlock, bool partial,
                              const OrderCondition* cond);

  // Rebuilds the tree from the table's records (file cut after the header).
  bool rebuild(DbfArea& area);

  // The key of the area's current record and whether the FOR condition holds for it
  // (true without a condition). `strict` makes a FOR result that is not logical internal
  // error 1240 (updates); otherwise such a record is left out (build).
  void keyOf(DbfArea& area, std::string& key, bool& forOk, bool strict);

  // Writes pending header changes and commits the file; then closes it.
  void close();

  ntx::NtxTree& tree() { return tree_; }
  const ntx::NtxTree& tree() const { return tree_; }
  const std::string& fileName() const { return path_; }
  const std::string& tagName() const { return tag_; }
  const std::string& keyText() const { return tree_.header().keyText; }
  const std::string& forText() const { return tree_.header().forText; }
  bool unique() const { return tree_.header().unique; }
  bool conditional() const { return forBlock_.isBlock(); }
  bool partial() const { return partial_; }

  // The key the record about to change had (taken when the record goes hot).
  std::string hotKey;
  bool hotKnown = false;

 private:
  bool collect(DbfArea& area, const OrderCondition* cond, std::vector<ntx::KeyEntry>& out);
  void findKeyField(DbfArea& area);
  static std::string tagFromPath(const std::string& path);

  platform::File file_;
  ntx::FileNtxIo io_{file_};
  ntx::NtxTree tree_;
  std::string path_, tag_;
  Value keyBlock_, forBlock_;
  int keyField_ = 0;
  int keySize_ = 0, keyDecimals_ = 0;
  bool partial_ = false;
};

// Holds the index lock of a shared order for the life of an operation (nothing for an
// exclusive one). ok() is false when the lock could not be had (the error was raised).
class OrderLock {
 public:
  explicit OrderLock(ntx::NtxTree& t) : t_(t.shared() ? &t : nullptr) {
    if (t_ && !t_->lock()) {
      ok_ = false;
      t_ = nullptr;
    }
  }
  ~OrderLock() {
    if (t_) t_->unlock();
  }
  OrderLock(const OrderLock&) = delete;
  OrderLock& operator=(const OrderLock&) = delete;
  bool ok() const { return ok_; }

 private:
  ntx::NtxTree* t_;
  bool ok_ = true;
};

}  // namespace kv::engine
