// The "DBFNTX" driver's order list (add, clear, focus, rebuild), order creation with the
// pending ORDCONDSET condition, order information, and the table-wide operations that
// must bring the orders along (flush, close, pack, zap, sort).
#include "engine/ntx/dbfntxarea.h"

#include "engine/area/drivers.h"
#include "engine/ntx/ntx_keyvalue.h"
#include "platform/filename.h"
#include "runtime/lang/settings.h"

namespace kv::engine {

namespace {

std::unique_ptr<WorkArea> makeDbfNtx() {
  return std::make_unique<DbfNtxArea>();
}

bool hasDirectory(const std::string& name) {
  return name.find('/') != std::string::npos;
}

// A new index goes to the default directory unless its name has a directory; a bag name
// without an extension gets ".ntx" in its own case (NALOZI: NALOZI.NTX).
std::string newIndexPath(const std::string& bag) {
  std::string name = platform::withDefaultExtension(bag, ".ntx");
  if (hasDirectory(name)) return name;
  std::string dir = setText(kSetDefault);
  if (dir.empty()) return name;
  if (dir.back() != '/') dir += '/';
  return dir + name;
}

void truncateText(std::string& s, std::size_t n) {
  if (s.size() > n) s.resize(n);
}

}  // namespace

void registerDbfNtxDriver() {
  addDriverModule("DBFNTX", "DBF", makeDbfNtx);
  RDDREGISTER("DBFNTX", 1);
}

DbfNtxArea::DbfNtxArea() = default;

DbfNtxArea::~DbfNtxArea() = default;

bool DbfNtxArea::indexFull() {
  if (orderCount() < kMaxOrders) return false;
  error(ErrorRecord(EG_LIMIT, kDbOrderLimit));
  return true;
}

Status DbfNtxArea::orderListAdd(const std::string& bag, const std::string&) {
  if (goCold() != kSuccess) return kFailure;
  if (indexFull()) return kFailure;
  auto o = std::make_unique<NtxOrder>();
  if (!o->open(*this, resolveDataFile(bag, ".ntx"))) return kFailure;
  orders_.push_back(std::move(o));
  if (current_ == 0) current_ = 1;
  return goTop();
}

Status DbfNtxArea::orderListClear() {
  Status r = goCold();
  for (auto& o : orders_) o->close();
  orders_.clear();
  current_ = 0;
  return r;
}

int DbfNtxArea::orderNumber(const Value& order) const {
  const Value& v = order.deref();
  if (v.isNil()) return current_;
  if (v.isNumber()) {
    double d = v.asDouble();
    return d >= 1 && d <= orderCount() ? int(d) : 0;
  }
  if (v.isString()) {
    std::string name = upperName(v.str());
    while (!name.empty() && name.back() == ' ') name.pop_back();
    while (!name.empty() && name.front() == ' ') name.erase(name.begin());
    for (int i = orderCount(); i >= 1; --i)
      if (orders_[std::size_t(i - 1)]->tagName() == name) return i;
  }
  return 0;
}

Status DbfNtxArea::orderListFocus(const Value& order, std::string& previous) {
  previous = current_ ? orders_[std::size_t(current_ - 1)]->tagName() : std::string();
  const Value& v = order.deref();
  if (v.isNil()) return kSuccess;
  int n = orderNumber(v);
  if (n == 0 || n == current_) return kSuccess;
  if (goCold() != kSuccess) return kFailure;
  current_ = n;
  controlling()->tree().clearPosition();
  return kSuccess;
}

Status DbfNtxArea::orderListRebuild() {
  if (goCold() != kSuccess) return kFailure;
  bool ok = true;
  for (auto& o : orders_) {
    OrderLock lock(o->tree());
    ok = lock.ok() && o->rebuild(*this) && ok;
  }
  Status r = goTop();
  return ok ? r : kFailure;
}

Status DbfNtxArea::orderCondition(const OrderCondition& cond) {
  pending_ = cond;
  pending_.settle();
  return kSuccess;
}

Status DbfNtxArea::orderCreate(const OrderCreateInfo& info) {
  OrderCondition cond = pending_;
  pending_ = OrderCondition{};
  if (info.bagName.find_first_not_of(' ') == std::string::npos) {
    return failWith(ErrorRecord(EG_ARG, kDbCreateIndex));
  }
  if (goCold() != kSuccess) return kFailure;
  const bool partial = cond.active && cond.partial;
  if (!partial) {
    if (orderListClear() != kSuccess) return kFailure;
  } else if (indexFull()) {
    return kFailure;
  }
  Value keyBlock = info.keyBlock;
  if (!keyBlock.isBlock()) {
    if (!compile(info.keyText)) {
      error(ErrorRecord(EG_SYNTAX, 0).op(info.keyText));
      return kNotCompiled;
    }
    keyBlock = result();
  }
  Value forBlock;
  if (cond.active) {
    forBlock = cond.forBlock;
    if (!forBlock.isBlock() && cond.forText.find_first_not_of(' ') != std::string::npos) {
      if (!compile(cond.forText)) {
        error(ErrorRecord(EG_SYNTAX, 0).op(cond.forText));
        return kNotCompiled;
      }
      forBlock = result();
    }
  }
  const std::string path = newIndexPath(info.bagName);
  // The key's type and width come from the phantom record, whose fields are all blank.
  if (DbfArea::goTo(0) != kSuccess) return kFailure;
  evalBlock(keyBlock);
  ntx::KeyLayout layout;
  if (!ntx::keyLayoutFromValue(result(), layout, path)) return kFailure;

  ntx::NtxHeader h;
  h.signature = ntx::kSigPlain;
  if (cond.active && (!cond.forText.empty() || forBlock.isBlock() || cond.descending || partial))
    h.signature |= ntx::kSigConditional;
  if (partial) h.signature |= ntx::kSigPartial;
  h.keySize = layout.size;
  h.keyDecimals = layout.decimals;
  h.keyText = info.keyText;
  truncateText(h.keyText, 256);
  h.unique = info.unique;
  h.descending = cond.active && cond.descending;
  if (cond.active) h.forText = cond.forText;
  truncateText(h.forText, 256);
  h.tagName = upperName(info.orderName);
  truncateText(h.tagName, 10);

  auto o = std::make_unique<NtxOrder>();
  Status status =
      o->create(*this, path, h, keyBlock, forBlock, partial, cond.active ? &cond : nullptr);
  if (status != kSuccess) {
    DbfArea::goTo(0);
    return status;
  }
  orders_.push_back(std::move(o));
  current_ = orderCount();
  controlling()->tree().clearPosition();
  return goTop();
}

Status DbfNtxArea::orderInfo(int request, const Value& order, Value& out) {
  out = Value();
  if (request == kOrdBagExt) {
    out = Value(".ntx");
    return kSuccess;
  }
  const Value& v = order.deref();
  int n = orderNumber(v);
  if (request == kOrdNumber) {
    out = Value::integer(n);
    return kSuccess;
  }
  if (n == 0) return kSuccess;
  NtxOrder& o = *orders_[std::size_t(n - 1)];
  OrderLock lock(o.tree());
  switch (request) {
    case kOrdCondition:
      out = Value(o.forText());
      break;
    case kOrdExpression:
      out = Value(o.keyText());
      break;
    case kOrdName:
      out = Value(o.tagName());
      break;
    case kOrdBagName:
      out = Value(o.fileName());
      break;
    default:
      break;
  }
  return kSuccess;
}

Status DbfNtxArea::flush() {
  Status r = DbfArea::flush();
  for (auto& o : orders_)
    if (!o->tree().flush()) r = kFailure;
  return r;
}

Status DbfNtxArea::close() {
  Status r = goCold();
  if (orderListClear() != kSuccess) r = kFailure;
  if (DbfArea::close() != kSuccess) r = kFailure;
  return r;
}

Status DbfNtxArea::pack() {
  if (DbfArea::pack() != kSuccess) return kFailure;
  return orderListRebuild();
}

Status DbfNtxArea::zap() {
  if (DbfArea::zap() != kSuccess) return kFailure;
  return orderListRebuild();
}

Status DbfNtxArea::sort(WorkArea& target, const Scope& scope, const std::vector<int>& fields,
                        const std::vector<bool>& descending) {
  // The sort walks the table in record order; the controlling order comes back afterwards,
  // also when an error handler leaves the sort by BREAK.
  struct Suspend {
    DbfNtxArea& a;
    int saved;
    ~Suspend() {
      a.current_ = saved;
      if (NtxOrder* o = a.controlling()) o->tree().clearPosition();
    }
  } suspend{*this, current_};
  current_ = 0;
  return DbfArea::sort(target, scope, fields, descending);
}

}  // namespace kv::engine
