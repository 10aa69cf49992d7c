#include "engine/ntx/ntx_order.h"

#include <algorithm>
#include <cstring>

#include "engine/dbf/dbfarea.h"
#include "engine/ntx/ntx_key.h"
#include "engine/ntx/ntx_keyvalue.h"
#include "runtime/lang/eventpoll.h"

namespace kv::engine {

namespace {

constexpr int kEvalError = 1240;

std::string trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

}  // namespace

NtxOrder::~NtxOrder() {
  close();
}

std::string NtxOrder::tagFromPath(const std::string& path) {
  std::string base = defaultAlias(path);
  return upperName(base.substr(0, 10));
}

void NtxOrder::findKeyField(DbfArea& area) {
  keyField_ = 0;
  int pos = area.fieldPos(trimmed(tree_.header().keyText));
  if (pos == 0) return;
  const Field& f = area.field(pos);
  // Only fields whose stored bytes are the key bytes: text of the key's size, or a number
  // of the key's size and decimals.
  if ((f.type == 'C' && f.width == keySize_) ||
      (f.type == 'N' && f.width == keySize_ && f.dec == keyDecimals_))
    keyField_ = pos;
}

bool NtxOrder::open(DbfArea& area, const std::string& path) {
  path_ = path;
  auto access = area.isReadOnly() ? platform::Access::Read : platform::Access::ReadWrite;
  auto share = area.isShared() ? platform::Share::Shared : platform::Share::Exclusive;
  for (int tries = 1;; ++tries) {
    if (file_.open(path, access, share, platform::Disposition::OpenExisting)) break;
    if (!area.retryAsked(fileError(EG_OPEN, kDbOpenIndex, path, platform::lastOsError())
                             .allow(kCanRetry)
                             .attempt(tries)))
      return false;
  }
  path_ = file_.path();  // the name on disk
  if (!tree_.open(io_, area.isShared())) {
    file_.close();
    return false;
  }
  const ntx::NtxHeader& h = tree_.header();
  auto corrupt = [&] {
    ntx::raiseNtxError(EG_CORRUPTION, kDbCorruption, path_);
    file_.close();
    return false;
  };
  if (!area.compile(h.keyText)) return corrupt();
  keyBlock_ = area.result();
  if (!trimmed(h.forText).empty()) {
    if (!area.compile(h.forText)) return corrupt();
    forBlock_ = area.result();
  }
  partial_ = (h.signature & ntx::kSigPartial) != 0;
  keySize_ = h.keySize;
  keyDecimals_ = h.keyDecimals;
  tag_ = trimmed(h.tagName).empty() ? tagFromPath(path) : upperName(trimmed(h.tagName));
  findKeyField(area);
  return true;
}

void NtxOrder::keyOf(DbfArea& area, std::string& key, bool& forOk, bool strict) {
  forOk = true;
  if (forBlock_.isBlock()) {
    area.evalBlock(forBlock_);
    const Value& r = area.result();
    if (!r.isLogical()) {
      if (strict) internalError(kEvalError);
      forOk = false;
    } else {
      forOk = r.asBool();
    }
  }
  const int ks = keySize_;
  if (keyField_ != 0) {
    const char* rec = nullptr;
    if (area.getRec(rec) == kSuccess && rec) {
      const Field& f = area.field(keyField_);
      key.assign(rec + f.offset, std::size_t(ks));
      if (f.type == 'N') ntx::numericTransform(key);
      return;
    }
  }
  area.evalBlock(keyBlock_);
  key = ntx::keyFromValue(area.result(), ks, keyDecimals_);
}

namespace {

// Reads the table ahead in chunks for the length of one pass, also when an error unwinds it.
struct ReadAheadPass {
  explicit ReadAheadPass(DbfArea& a) : area(a) { area.setReadAhead(true); }
  ~ReadAheadPass() { area.setReadAhead(false); }
  DbfArea& area;
};

}  // namespace

bool NtxOrder::collect(DbfArea& area, const OrderCondition* cond, std::vector<ntx::KeyEntry>& out) {
  ReadAheadPass pass(area);
  std::uint32_t count = 0;
  if (area.recCount(count) != kSuccess) return false;
  out.clear();
  out.reserve(count);
  std::int64_t every =
      cond && cond->evalBlock.isBlock() ? std::max<std::int64_t>(cond->evalInterval, 1) : 0;
  for (std::uint32_t j = 1; j <= count; ++j) {
    // Every record, deleted ones included; the filter and the deleted setting do not apply.
    if (area.DbfArea::goTo(j) != kSuccess) return false;
    std::string key;
    bool forOk = true;
    keyOf(area, key, forOk, false);
    if (forOk) out.push_back(ntx::KeyEntry{std::move(key), j});
    if (every > 0 && j % std::uint64_t(every) == 0) {
      area.evalBlock(cond->evalBlock);
      if (area.result().isLogical() && !area.result().asBool()) break;
    }
    eventPoll();
  }
  return true;
}

Status NtxOrder::create(DbfArea& area, const std::string& path, const ntx::NtxHeader& h,
                        const Value& keyBlock, const Value& forBlock, bool partial,
                        const OrderCondition* cond) {
  path_ = path;
  keyBlock_ = keyBlock;
  forBlock_ = forBlock;
  partial_ = partial;
  keySize_ = h.keySize;
  keyDecimals_ = h.keyDecimals;
  auto share = area.isShared() ? platform::Share::Shared : platform::Share::Exclusive;
  for (int tries = 1;; ++tries) {
    if (file_.open(path, platform::Access::ReadWrite, share, platform::Disposition::CreateAlways))
      break;
    if (!area.retryAsked(fileError(EG_CREATE, kDbCreateIndex, path, platform::lastOsError())
                             .allow(kCanRetry)
                             .attempt(tries)))
      return kFailure;
  }
  path_ = file_.path();  // an existing index under another case was taken over
  tag_ = trimmed(h.tagName).empty() ? tagFromPath(path) : upperName(trimmed(h.tagName));
  std::vector<ntx::KeyEntry> entries;
  // A failed create leaves no half-built index file behind.
  auto abandon = [&](Status status) {
    file_.close();
    platform::deleteFile(path_);
    return status;
  };
  if (!collect(area, cond, entries)) return abandon(kFailure);
  if (!tree_.create(io_, h, std::move(entries), area.isShared())) {
    // The key size was checked before, so a tree that did not open means the header could
    // not be written in full: the create ends with its own status and no error.
    return abandon(tree_.isOpen() ? kFailure : kIndexHeaderShort);
  }
  findKeyField(area);
  return kSuccess;
}

bool NtxOrder::rebuild(DbfArea& area) {
  std::vector<ntx::KeyEntry> entries;
  if (!collect(area, nullptr, entries)) return false;
  return tree_.rebuild(std::move(entries));
}

void NtxOrder::close() {
  if (!file_.isOpen()) return;
  if (tree_.isOpen()) tree_.flush();
  file_.close();
}

}  // namespace kv::engine
