// The "DBFNTX" driver's movement through the controlling order (go top, go bottom, goto,
// raw skip, seek) and the upkeep of every order when a record is written.
#include "engine/ntx/dbfntxarea.h"
#include "engine/ntx/ntx_keyvalue.h"
#include "runtime/lang/settings.h"

namespace kv::engine {

Status DbfNtxArea::landOn(std::uint32_t r) {
  return DbfArea::goTo(r);
}

Status DbfNtxArea::goTo(std::uint32_t recNo) {
  if (NtxOrder* o = controlling()) o->tree().clearPosition();
  return DbfArea::goTo(recNo);
}

Status DbfNtxArea::goTop() {
  NtxOrder* o = controlling();
  if (!o) return DbfArea::goTop();
  if (goCold() != kSuccess) return kFailure;
  OrderLock lock(o->tree());
  if (!lock.ok()) return kFailure;
  if (landOn(o->tree().first()) != kSuccess) return kFailure;
  atTop_ = true;
  atBottom_ = false;
  return skipFilter(1);
}

Status DbfNtxArea::goBottom() {
  NtxOrder* o = controlling();
  if (!o) return DbfArea::goBottom();
  if (goCold() != kSuccess) return kFailure;
  OrderLock lock(o->tree());
  if (!lock.ok()) return kFailure;
  if (landOn(o->tree().last()) != kSuccess) return kFailure;
  atBottom_ = true;
  atTop_ = false;
  return skipFilter(-1);
}

bool DbfNtxArea::relocate(NtxOrder& o) {
  std::string key;
  bool forOk = true;
  o.keyOf(*this, key, forOk, false);
  ntx::NtxTree& t = o.tree();
  // A record a conditional or partial order may lack is not looked for key by key.
  bool mayLack = o.conditional() || o.partial() || o.unique();
  if (forOk && t.relocate(key, recNo_, !mayLack)) return true;
  if (!mayLack) return false;
  // Not in the order: stand where its key would be, on the first key not less than it.
  t.seek(key, true);
  return false;
}

Status DbfNtxArea::skipRaw(std::int64_t n) {
  NtxOrder* o = controlling();
  if (!o || n == 0) return DbfArea::skipRaw(n);
  if (goCold() != kSuccess) return kFailure;
  ntx::NtxTree& t = o->tree();
  OrderLock lock(t);
  if (!lock.ok()) return kFailure;
  std::uint64_t steps = n > 0 ? std::uint64_t(n) : std::uint64_t(-(n + 1)) + 1;
  std::uint32_t r = 0;
  if (!positioned_) {
    // On the phantom record: backward reaches the last key, forward stays.
    if (n > 0) return landOn(0);
    r = t.last();
    --steps;
  } else if (t.positioned() && t.currentRecno() == recNo_) {
    r = recNo_;
  } else if (relocate(*o)) {
    r = recNo_;
  } else if (o->conditional() || o->partial() || o->unique()) {
    // The record is not in the order; the position is on the first key after its key.
    // Landing there is the first forward step; backward, the key before it is.
    if (n > 0) {
      r = t.positioned() ? t.currentRecno() : 0;
    } else {
      r = t.positioned() ? t.prev() : t.last();
    }
    --steps;
  } else {
    return landOn(0);
  }
  while (steps > 0 && r != 0) {
    r = n > 0 ? t.next() : t.prev();
    --steps;
  }
  return landOn(r);
}

Status DbfNtxArea::seek(const Value& key, bool soft, bool last) {
  NtxOrder* o = controlling();
  if (!o) {
    return failWith(ErrorRecord(EG_NOORDER, kDbNotIndexed));
  }
  if (goCold() != kSuccess) return kFailure;
  ntx::NtxTree& t = o->tree();
  OrderLock lock(t);
  if (!lock.ok()) return kFailure;
  const std::string k = ntx::seekKeyFromValue(key, t.keySize(), t.header().keyDecimals);
  auto matches = [&](const std::string& have) { return t.compare(have, k) == 0; };
  std::uint32_t r = t.seek(k, soft);
  if (r != 0 && last) {
    // The last of the keys equal to the sought one.
    while (std::uint32_t nx = t.next()) {
      if (!matches(t.currentKey())) {
        t.prev();
        break;
      }
      r = nx;
    }
  }
  if (landOn(r) != kSuccess) return kFailure;
  const bool filtered = setFlag(kSetDeleted) || hasFilter();
  if (filtered) {
    atTop_ = atBottom_ = false;
    if (skipFilter(1) != kSuccess) return kFailure;
  }
  bool found = false;
  if (positioned_) {
    if (filtered || soft) {
      std::string have;
      if (t.positioned() && t.currentRecno() == recNo_) {
        have = t.currentKey();
      } else {
        bool forOk = true;
        o->keyOf(*this, have, forOk, false);
      }
      found = matches(have);
      if (!found && !soft && landOn(0) != kSuccess) return kFailure;
    } else {
      found = true;
    }
  }
  if (!positioned_) {
    found = false;
    t.clearPosition();
  }
  setFound(found);
  if (recCount_ == 0) setBof(true);
  return kSuccess;
}

Status DbfNtxArea::goHot() {
  if (DbfArea::goHot() != kSuccess) return kFailure;
  // The keys the record has before it changes, to find them again when it is written.
  for (auto& o : orders_) {
    bool forOk = true;
    o->keyOf(*this, o->hotKey, forOk, false);
    o->hotKnown = true;
  }
  return kSuccess;
}

bool DbfNtxArea::updateOrder(NtxOrder& o) {
  ntx::NtxTree& t = o.tree();
  OrderLock lock(t);
  if (!lock.ok()) return false;
  std::string key;
  bool forOk = true;
  o.keyOf(*this, key, forOk, true);
  bool isNew = appended_;
  bool changed = false;
  bool ok = true;
  if (!isNew) {
    changed = !o.hotKnown || key != o.hotKey;
    if (changed) t.clearPosition();
    bool known = o.hotKnown && !changed && t.positioned() && t.currentRecno() == recNo_ &&
                 t.currentKey() == o.hotKey;
    if (!known || o.conditional() || o.partial()) {
      bool mayLack = o.unique() || o.conditional() || o.partial();
      bool found = o.hotKnown ? t.relocate(o.hotKey, recNo_, !mayLack)
                              : t.relocate(std::string(), recNo_, true);
      if (found) {
        if (changed || !forOk) ok = t.removeCurrent();
      } else {
        if (!mayLack) {
          error(ErrorRecord(EG_CORRUPTION, kDbSkipCorruption)
                    .allow(kCanDefault)
                    .attempt(1)
                    .file(o.fileName()));
        }
        if (forOk) isNew = true;
      }
    }
  }
  if ((isNew || changed) && forOk) {
    // A unique order keeps one record per key value: the key goes in only while no record
    // holds that value yet.
    if (!o.unique() || t.seek(key, false) == 0) ok = t.insert(key, recNo_) && ok;
    t.clearPosition();
  }
  if (t.shared() && !t.commitUpdate()) ok = false;
  return ok;
}

Status DbfNtxArea::goCold() {
  if (!hot_) return kSuccess;
  bool ok = true;
  for (auto& o : orders_) ok = updateOrder(*o) && ok;
  for (auto& o : orders_) o->hotKnown = false;
  // The record is written even when an order could not follow, so no data is lost.
  Status r = DbfArea::goCold();
  return ok ? r : kFailure;
}

}  // namespace kv::engine
