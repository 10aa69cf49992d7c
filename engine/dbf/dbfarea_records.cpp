// The DBF driver's record-level operations: positioning, lazy read and write-back, field
// values, memo texts, append, delete and recall.
#include <algorithm>
#include <cstring>

#include "engine/dbf/dbfarea.h"
#include "engine/dbf/dbf_lock.h"
#include "engine/dbf/fieldconv.h"
#include "runtime/format/dates.h"
#include "runtime/lang/eventpoll.h"
#include "runtime/lang/settings.h"

namespace kv::engine {

namespace {

std::uint64_t recordPos(std::uint32_t hdrLen, std::uint32_t recLen, std::uint32_t n) {
  return hdrLen + static_cast<std::uint64_t>(n - 1) * recLen;
}

}  // namespace

Status DbfArea::readRecord() {
  if (loaded_) return kSuccess;
  if (!positioned_) {
    std::fill(buf_.begin(), buf_.end(), ' ');
    loaded_ = true;
    deleted_ = false;
    return kSuccess;
  }
  std::int64_t got = static_cast<std::int64_t>(recLen_);
  if (!readAheadRecord())
    got = dbf_.readAt(recordPos(hdrLen_, recLen_, recNo_), buf_.data(), recLen_);
  if (got != static_cast<std::int64_t>(recLen_)) {
    int os = got < 0 ? platform::lastOsError() : 0;
    return readError(fullName_, os);
  }
  loaded_ = true;
  deleted_ = buf_[0] == '*';
  runEvent(kEvRead);
  return kSuccess;
}

// Bytes read at once by the read-ahead.
constexpr std::size_t kReadAheadBytes = 64 * 1024;

void DbfArea::setReadAhead(bool on) {
  readAhead_ = on;
  dropReadAhead();
}

void DbfArea::dropReadAhead() {
  aheadCount_ = 0;
  lastRead_ = 0;
  std::vector<char>().swap(ahead_);
}

bool DbfArea::readAheadRecord() {
  const bool inChunk =
      aheadCount_ > 0 && recNo_ >= aheadFirst_ && recNo_ - aheadFirst_ < aheadCount_;
  // A table no other station can write is read ahead as soon as its records are read one
  // after the other; a shared one only when a whole-table pass asks for it.
  const bool sequential = !shared_ && recNo_ == lastRead_ + 1;
  lastRead_ = recNo_;
  if (!readAhead_ && !inChunk && !sequential) return false;
  if (!inChunk) {
    aheadCount_ = 0;
    const std::uint32_t want = std::max<std::uint32_t>(
        1, std::min<std::uint32_t>(recCount_ - recNo_ + 1,
                                   static_cast<std::uint32_t>(kReadAheadBytes / recLen_)));
    ahead_.resize(std::size_t(want) * recLen_);
    std::int64_t got =
        dbf_.readAt(recordPos(hdrLen_, recLen_, recNo_), ahead_.data(), ahead_.size());
    if (got < static_cast<std::int64_t>(recLen_)) return false;
    aheadFirst_ = recNo_;
    aheadCount_ = static_cast<std::uint32_t>(std::uint64_t(got) / recLen_);
  }
  const char* rec = ahead_.data() + std::size_t(recNo_ - aheadFirst_) * recLen_;
  std::copy(rec, rec + recLen_, buf_.begin());
  return true;
}

Status DbfArea::writeRecord(std::uint32_t n) {
  // A record written inside the read-ahead chunk is written there too, so the chunk never
  // answers older bytes than the file holds.
  if (aheadCount_ > 0 && n >= aheadFirst_ && n - aheadFirst_ < aheadCount_)
    std::copy(buf_.begin(), buf_.end(), ahead_.begin() + std::ptrdiff_t(n - aheadFirst_) * recLen_);
  const std::uint64_t at = recordPos(hdrLen_, recLen_, n);
  std::int64_t put = dbf_.writeAt(at, buf_.data(), recLen_);
  if (put != static_cast<std::int64_t>(recLen_)) {
    aheadCount_ = 0;  // what the file holds now is unknown
    const int os = platform::lastOsError();
    // A write cut short leaves the record half old, half new. The stored bytes go back (a
    // record that was not in the file yet is cut off again), so the table holds the record
    // as before; the record stays hot and is written again at the next go cold.
    if (put > 0) {
      if (n == recNo_ && stored_.size() == recLen_ && !(appended_ && !shared_))
        dbf_.writeAt(at, stored_.data(), recLen_);
      else if (n == recNo_ && appended_ && !shared_)
        dbf_.truncate(at);
    }
    platform::setLastOsError(os);
    return writeError(fullName_);
  }
  dbfWritten_ = true;
  runEvent(kEvWrite);
  return kSuccess;
}

Status DbfArea::goHot() {
  if (readOnly_) {
    return failWith(ErrorRecord(EG_READONLY, kDbReadOnly));
  }
  if (shared_ && !fileLocked_ && std::find(locks_.begin(), locks_.end(), recNo_) == locks_.end()) {
    return failWith(ErrorRecord(EG_UNLOCKED, kDbUnlocked));
  }
  hot_ = true;
  stored_.assign(buf_.begin(), buf_.end());
  freshMemo_.clear();
  return kSuccess;
}

Status DbfArea::goCold() {
  if (!hot_) return kSuccess;
  if (writeRecord(recNo_) != kSuccess) return kFailure;
  hot_ = false;
  freshMemo_.clear();
  updated_ = true;
  if (!appended_ && !deleted_) runEvent(kEvUpdate);
  appended_ = false;
  return kSuccess;
}

Status DbfArea::goTo(std::uint32_t n) {
  if (goCold() != kSuccess) return kFailure;
  if (shared_ && n > recCount_) refreshCount();
  if (n >= 1 && n <= recCount_) {
    recNo_ = n;
    positioned_ = true;
    bof_ = eof_ = false;
    loaded_ = false;
  } else {
    recNo_ = recCount_ + 1;
    positioned_ = false;
    bof_ = eof_ = true;
    deleted_ = false;
    std::fill(buf_.begin(), buf_.end(), ' ');
    loaded_ = true;
  }
  found_ = false;
  runEvent(kEvGoto);
  return kSuccess;
}

Status DbfArea::goToId(const Value& id) {
  const Value& v = id.deref();
  if (!v.isNumber()) {
    return failWith(ErrorRecord(EG_DATATYPE, kDbDataType));
  }
  double d = v.asDouble();
  std::uint32_t n = d < 0 || d > 4294967295.0 ? 0 : static_cast<std::uint32_t>(d);
  return goTo(n);
}

Status DbfArea::goTop() {
  atTop_ = true;
  atBottom_ = false;
  if (goTo(1) != kSuccess) return kFailure;
  return skipFilter(1);
}

Status DbfArea::goBottom() {
  if (goCold() != kSuccess) return kFailure;
  if (shared_) refreshCount();
  atBottom_ = true;
  atTop_ = false;
  if (goTo(recCount_) != kSuccess) return kFailure;
  return skipFilter(-1);
}

Status DbfArea::skipRaw(std::int64_t n) {
  if (n == 0) {
    bool b = bof_, e = eof_;
    if (goTo(recNo_) != kSuccess) return kFailure;
    bof_ = b;
    eof_ = e;
    return kSuccess;
  }
  std::int64_t target = static_cast<std::int64_t>(recNo_) + n;
  if (target < 1) return goTo(0);
  if (target > 0xFFFFFFFFLL) target = 0;
  return goTo(static_cast<std::uint32_t>(target));
}

Status DbfArea::skip(std::int64_t n) {
  atTop_ = atBottom_ = false;
  if (n == 0 || setFlag(kSetDeleted) || hasFilter()) return WorkArea::skip(n);
  if (skipRaw(n) != kSuccess) return kFailure;
  if (n < 0 && bof_) {
    if (goTop() != kSuccess) return kFailure;
    bof_ = true;
  }
  if (n < 0)
    eof_ = false;
  else
    bof_ = false;
  return kSuccess;
}

Status DbfArea::recCount(std::uint32_t& out) {
  if (shared_) refreshCount();
  out = recCount_;
  return kSuccess;
}

Status DbfArea::recNo(std::uint32_t& out) {
  out = recNo_;
  return kSuccess;
}

Status DbfArea::deleted(bool& out) {
  if (readRecord() != kSuccess) return kFailure;
  out = deleted_;
  return kSuccess;
}

Status DbfArea::getRec(const char*& out) {
  if (readRecord() != kSuccess) return kFailure;
  out = buf_.data();
  return kSuccess;
}

Status DbfArea::putRec(const char* rec) {
  if (readRecord() != kSuccess) return kFailure;
  if (!positioned_) return kSuccess;
  if (!hot_ && goHot() != kSuccess) return kFailure;
  std::memcpy(buf_.data(), rec, recLen_);
  deleted_ = buf_[0] == '*';
  return kSuccess;
}

Status DbfArea::getVarLen(int field, std::uint32_t& out) {
  out = 0;
  if (field < 1 || field > fieldCount()) return kFailure;
  if (readRecord() != kSuccess) return kFailure;
  const Field& f = this->field(field);
  if (f.type != 'M' || !memo_.isOpen()) return kSuccess;
  std::uint32_t block = 0;
  if (!memoBlockFromField(std::string_view(buf_.data() + f.offset, 10), block) ||
      (block != 0 && !memo_.textLength(block, out))) {
    return readError(memoName_, platform::lastOsError());
  }
  return kSuccess;
}

Status DbfArea::getValue(int field, Value& out) {
  if (field < 1 || field > fieldCount()) return kFailure;
  if (readRecord() != kSuccess) return kFailure;
  const Field& f = this->field(field);
  const char* p = buf_.data() + f.offset;
  switch (f.type) {
    case 'N':
      out = Value::number(numberFromField(std::string_view(p, static_cast<std::size_t>(f.width))),
                          f.width, f.dec);
      return kSuccess;
    case 'D':
      out = Value::date(storedToDate(std::string_view(p, 8)));
      return kSuccess;
    case 'L':
      out = Value(*p == 'T' || *p == 't' || *p == 'Y' || *p == 'y');
      return kSuccess;
    case 'C':
      out = Value(std::string_view(p, static_cast<std::size_t>(f.width)));
      return kSuccess;
    case 'M': {
      std::string text;
      std::uint32_t block = 0;
      bool ok = memoBlockFromField(std::string_view(p, 10), block);
      if (ok && block != 0 && memo_.isOpen()) ok = memo_.readText(block, text);
      if (!ok) {
        return readError(memoName_, platform::lastOsError());
      }
      out = Value::memo(text);
      return kSuccess;
    }
    default: {
      return failWith(ErrorRecord(EG_DATATYPE, kDbDataType));
    }
  }
}

Status DbfArea::writeMemo(const Field& f, std::string_view text, std::uint32_t& block) {
  (void)f;
  if (!memo_.isOpen()) {
    return failWith(fileError(EG_WRITE, kDbWrite, memoName_));
  }
  if (text.empty()) {
    block = 0;
    return kSuccess;
  }
  // A text the stored record points to is never overwritten: a save cut off before its
  // record is written would leave the old record with half a new text. Only a block this
  // change wrote itself is rewritten in place; any other text goes to fresh blocks.
  if (std::find(freshMemo_.begin(), freshMemo_.end(), block) == freshMemo_.end()) block = 0;
  const std::uint32_t given = block;
  if (!memo_.write(text, block, shared_)) {
    return writeError(memoName_);
  }
  if (block != given) freshMemo_.push_back(block);
  return kSuccess;
}

Status DbfArea::putValue(int field, const Value& value) {
  if (field < 1 || field > fieldCount()) return kFailure;
  if (readRecord() != kSuccess) return kFailure;
  if (!positioned_) return kSuccess;  // the phantom record stores nothing
  if (!hot_ && goHot() != kSuccess) return kFailure;
  const Field& f = this->field(field);
  const Value& v = value.deref();
  char* p = buf_.data() + f.offset;
  auto typeError = [&] { return failWith(ErrorRecord(EG_DATATYPE, kDbDataType)); };
  if (v.isNumber() && f.type == 'N') {
    std::string s = numberToField(v.asDouble(), f.width, f.dec);
    std::memcpy(p, s.data(), static_cast<std::size_t>(f.width));
    if (f.width > 0 && s[0] == '*') {
      return failWith(ErrorRecord(EG_DATAWIDTH, kDbDataWidth).allow(kCanDefault));
    }
    return kSuccess;
  }
  if (v.isDate() && f.type == 'D') {
    std::memcpy(p, dateToStored(v.julian()).data(), 8);
    return kSuccess;
  }
  if (v.isLogical() && f.type == 'L') {
    *p = v.asBool() ? 'T' : 'F';
    return kSuccess;
  }
  if (v.isString() && f.type == 'C') {
    std::string_view s = v.str();
    std::size_t w = static_cast<std::size_t>(f.width);
    std::size_t n = std::min(w, s.size());
    std::memcpy(p, s.data(), n);
    std::memset(p + n, ' ', w - n);
    return kSuccess;
  }
  if (v.isString() && f.type == 'M') {
    std::uint32_t block = 0;
    if (!memoBlockFromField(std::string_view(p, 10), block)) block = 0;
    if (writeMemo(f, v.str(), block) != kSuccess) return kFailure;
    std::memcpy(p, memoFieldFromBlock(block).data(), 10);
    return kSuccess;
  }
  return typeError();
}

Status DbfArea::append(bool releaseLocks) {
  if (goCold() != kSuccess) return kFailure;
  if (readOnly_) {
    return failWith(ErrorRecord(EG_READONLY, kDbReadOnly));
  }
  clearRel();
  AppendLock appendLock(dbf_, false);
  std::uint32_t n = recCount_ + 1;
  if (shared_) {
    if (releaseLocks && !locks_.empty()) {
      for (auto r : locks_) netRecordUnlock(dbf_, r);
      locks_.clear();
    }
    for (int attempt = 1;; ++attempt) {
      if (!appendLock.take()) return kFailure;  // only when the hard-error indicator is set
      refreshCount();
      n = recCount_ + 1;
      auto it = std::find(locks_.begin(), locks_.end(), n);
      if (it != locks_.end()) {
        netRecordUnlock(dbf_, n);
        locks_.erase(it);
      }
      if (fileLocked_) break;
      if (netRecordLock(dbf_, n)) {
        locks_.push_back(n);
        break;
      }
      appendLock.release();
      if (!retryAsked(ErrorRecord(EG_APPENDLOCK, kDbAppendLock)
                          .allow(kCanRetry | kCanDefault)
                          .attempt(attempt)
                          .os(platform::lastOsError())))
        return kFailure;
    }
  }
  std::fill(buf_.begin(), buf_.end(), ' ');
  loaded_ = true;
  positioned_ = true;
  deleted_ = false;
  if (shared_) {
    // The blank record goes out at once, so that the file grows and other stations count
    // it. When that write fails the table stays as it was.
    if (writeRecord(n) != kSuccess) {
      // Under the append lock no other station has appended since: the file is cut back to
      // the records it held, so no piece of a record is left at its end.
      const int os = platform::lastOsError();
      if (dbf_.size() > static_cast<std::int64_t>(recordPos(hdrLen_, recLen_, n)))
        dbf_.truncate(recordPos(hdrLen_, recLen_, n));
      platform::setLastOsError(os);
      auto it = std::find(locks_.begin(), locks_.end(), n);
      if (it != locks_.end()) {
        netRecordUnlock(dbf_, n);
        locks_.erase(it);
      }
      loaded_ = false;
      positioned_ = recNo_ >= 1 && recNo_ <= recCount_;
      if (!positioned_) {
        std::fill(buf_.begin(), buf_.end(), ' ');
        loaded_ = true;
      }
      return kFailure;
    }
    appendLock.release();
  }
  recCount_ = n;
  recNo_ = n;
  updated_ = hot_ = appended_ = true;
  stored_.assign(buf_.begin(), buf_.end());
  freshMemo_.clear();
  bof_ = eof_ = found_ = false;
  runEvent(kEvAppend);
  return kSuccess;
}

Status DbfArea::deleteRec() {
  if (readRecord() != kSuccess) return kFailure;
  if (!positioned_) return kSuccess;
  if (!hot_ && goHot() != kSuccess) return kFailure;
  buf_[0] = '*';
  deleted_ = true;
  runEvent(kEvDelete);
  return kSuccess;
}

Status DbfArea::recall() {
  if (readRecord() != kSuccess) return kFailure;
  if (!positioned_) return kSuccess;
  if (!hot_ && goHot() != kSuccess) return kFailure;
  buf_[0] = ' ';
  deleted_ = false;
  return kSuccess;
}

Status DbfArea::transRec(WorkArea& target, const std::vector<std::pair<int, int>>& map) {
  // Whole-record copy when both tables have exactly the same fields and the source keeps no
  // memo texts (their block numbers would point into the wrong file).
  auto* t = dynamic_cast<DbfArea*>(&target);
  bool whole = t && !hasMemo_ && static_cast<int>(map.size()) == fieldCount() &&
               t->fieldCount() == fieldCount() && t->recLen_ == recLen_;
  for (std::size_t i = 0; whole && i < map.size(); ++i) {
    int a = static_cast<int>(i) + 1;
    const Field& x = field(a);
    const Field& y = t->field(a);
    whole = map[i].first == a && map[i].second == a && x.type == y.type && x.width == y.width &&
            x.dec == y.dec && x.name == y.name;
  }
  if (!whole) return WorkArea::transRec(target, map);
  if (readRecord() != kSuccess) return kFailure;
  std::vector<char> rec(buf_);
  bool del = deleted_;
  if (t->append(true) != kSuccess) return kFailure;
  if (t->putRec(rec.data()) != kSuccess) return kFailure;
  if (del && t->deleteRec() != kSuccess) return kFailure;
  return kSuccess;
}

Status DbfArea::sort(WorkArea& target, const Scope& scope, const std::vector<int>& keys,
                     const std::vector<bool>& descending) {
  for (int k : keys)
    if (k < 1 || k > fieldCount()) return kFailure;
  struct Item {
    std::vector<Value> key;
    std::vector<char> rec;
  };
  std::vector<Item> items;
  Status r = forEachInScope(scope, [&] {
    Item it;
    for (int k : keys) {
      Value v;
      if (getValue(k, v) != kSuccess) return kFailure;
      it.key.push_back(v);
    }
    if (readRecord() != kSuccess) return kFailure;
    it.rec = buf_;
    items.push_back(std::move(it));
    eventPoll();
    return kSuccess;
  });
  if (r != kSuccess) return r;
  auto less = [&](const Item& a, const Item& b) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
      const Value &x = a.key[i], &y = b.key[i];
      int c = 0;
      if (x.isNumber())
        c = x.asDouble() < y.asDouble() ? -1 : x.asDouble() > y.asDouble() ? 1 : 0;
      else if (x.isDate())
        c = x.julian() < y.julian() ? -1 : x.julian() > y.julian() ? 1 : 0;
      else if (x.isLogical())
        c = static_cast<int>(x.asBool()) - static_cast<int>(y.asBool());
      else
        c = x.str().compare(y.str()) < 0 ? -1 : x.str() == y.str() ? 0 : 1;
      if (i < descending.size() && descending[i]) c = -c;
      if (c != 0) return c < 0;
    }
    return false;
  };
  std::stable_sort(items.begin(), items.end(), less);
  // Each sorted record is placed in the target: whole when the layouts match and no memo
  // block numbers would point into the wrong memo file, else field by field.
  auto* t = dynamic_cast<DbfArea*>(&target);
  bool whole = t && !hasMemo_ && t->recLen_ == recLen_ && t->fieldCount() == fieldCount();
  for (int i = 1; whole && i <= fieldCount(); ++i)
    whole = field(i).type == t->field(i).type && field(i).width == t->field(i).width &&
            field(i).offset == t->field(i).offset;
  for (auto& it : items) {
    if (target.append(true) != kSuccess) return kFailure;
    if (whole) {
      if (target.putRec(it.rec.data()) != kSuccess) return kFailure;
      continue;
    }
    std::swap(buf_, it.rec);  // read the sorted record through this area's field rules
    bool wasLoaded = loaded_, wasPositioned = positioned_;
    loaded_ = positioned_ = true;
    Status status = kSuccess;
    for (int i = 1; i <= fieldCount() && status == kSuccess; ++i) {
      int j = target.fieldPos(field(i).name);
      if (!j) continue;
      Value v;
      status = getValue(i, v);
      if (status == kSuccess) status = target.putValue(j, v);
    }
    if (status == kSuccess && buf_[0] == '*') status = target.deleteRec();
    std::swap(buf_, it.rec);
    loaded_ = wasLoaded;
    positioned_ = wasPositioned;
    if (status != kSuccess) return status;
  }
  return kSuccess;
}

}  // namespace kv::engine
