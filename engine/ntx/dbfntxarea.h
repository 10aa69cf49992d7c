#pragma once
// The "DBFNTX" table driver: a DBF table (engine/dbf/dbfarea.h) with up to 16 open NTX index files
// ("orders", engine/ntx/ntx_order.h). The controlling order decides the order of go top, go
// bottom, skip and seek; every open order follows each record change. In shared mode every
// index read and update runs under the index lock of the order, and an update counter in
// the index header tells other processes that the tree changed.
#include <memory>
#include <string>
#include <vector>

#include "engine/dbf/dbfarea.h"
#include "engine/ntx/ntx_order.h"

namespace kv::engine {

class DbfNtxArea : public DbfArea {
 public:
  static constexpr int kMaxOrders = 16;

  DbfNtxArea();
  ~DbfNtxArea() override;

  std::string sysName() const override { return "DBFNTX"; }

  // Navigation through the controlling order (the DBF's record order when there is none).
  Status goBottom() override;
  Status goTo(std::uint32_t recNo) override;
  Status goTop() override;
  Status skipRaw(std::int64_t n) override;
  // Seek on the controlling order: not-indexed error 36/1020 when there is none.
  Status seek(const Value& key, bool soft, bool last) override;

  // Record changes keep every order current.
  Status goCold() override;
  Status goHot() override;
  Status flush() override;
  Status close() override;
  Status pack() override;
  Status zap() override;
  Status sort(WorkArea& target, const Scope& scope, const std::vector<int>& fields,
              const std::vector<bool>& descending) override;

  // Orders.
  Status orderListAdd(const std::string& bag, const std::string& name) override;
  Status orderListClear() override;
  Status orderListFocus(const Value& order, std::string& previous) override;
  Status orderListRebuild() override;
  Status orderCondition(const OrderCondition& cond) override;
  [[nodiscard]] Status orderCreate(const OrderCreateInfo& info) override;
  Status orderInfo(int request, const Value& order, Value& out) override;

  // Facts for tools and tests.
  int orderCount() const { return static_cast<int>(orders_.size()); }
  int controllingOrder() const { return current_; }
  // Order n (1-based).
  NtxOrder& order(int n) { return *orders_[static_cast<std::size_t>(n - 1)]; }

 private:
  NtxOrder* controlling() { return current_ ? orders_[std::size_t(current_ - 1)].get() : nullptr; }
  // 1-based number of the order an argument names (nil: the controlling one), 0 when none.
  int orderNumber(const Value& order) const;
  // Positions the controlling order on the current record (relocation); false when the
  // record is not in the order.
  bool relocate(NtxOrder& o);
  // Moves to record `r` of the order walk (0: the phantom record).
  Status landOn(std::uint32_t r);
  // Keeps one order current for the record being written.
  bool updateOrder(NtxOrder& o);
  bool indexFull();

  std::vector<std::unique_ptr<NtxOrder>> orders_;
  int current_ = 0;
  OrderCondition pending_;
};

// Makes the "DBFNTX" driver module (parent "DBF") known to the engine and registers it.
void registerDbfNtxDriver();

}  // namespace kv::engine
