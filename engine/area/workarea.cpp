#include "engine/area/workarea.h"

#include <cctype>
#include <functional>
#include <unordered_map>

#include "engine/area/areas.h"
#include "runtime/format/numfmt.h"
#include "runtime/lang/settings.h"
#include "runtime/macro/macro.h"

namespace kv::engine {

namespace {

std::unordered_map<std::string, int>& aliasTable() {
  static std::unordered_map<std::string, int> t;
  return t;
}

Value evalNoArgs(const Value& block) {
  BlockData* b = block.blk();
  if (!b) return Value();
  return b->eval(std::span<Value>());
}

// A filter passes a record unless it yields logical false.
bool passesFilter(const Value& v) {
  return !(v.isLogical() && !v.asBool());
}

}  // namespace

int aliasArea(std::string_view alias) {
  auto it = aliasTable().find(upperName(alias));
  return it == aliasTable().end() ? 0 : it->second;
}

std::string defaultAlias(std::string_view fileName) {
  auto slash = fileName.find_last_of("/\\");
  if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
  auto dot = fileName.rfind('.');
  if (dot != std::string_view::npos) fileName = fileName.substr(0, dot);
  return std::string(fileName.substr(0, 58));
}

bool isIdentifier(std::string_view s) {
  if (s.empty()) return false;
  auto alpha = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; };
  if (!alpha(s[0])) return false;
  for (char c : s)
    if (!alpha(c) && !std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

void OrderCondition::settle() {
  if (evalInterval < 0) evalInterval = 0;
  active = !forText.empty() || forBlock.isBlock() || evalBlock.isBlock() || all || rest ||
           descending || nextCount >= 0 || recordNumber >= 0;
  partial = active && (all || whileBlock.isBlock() || nextCount > 0 || recordNumber > 0 || rest);
}

WorkArea::WorkArea() = default;
WorkArea::~WorkArea() {
  unlinkFields();
}

Status WorkArea::unsupported(const char* operation) {
  return failWith(ErrorRecord(EG_UNSUPPORTED, 0).op(operation));
}

bool WorkArea::retryAsked(ErrorRecord record) {
  return error(std::move(record)).answer == ErrorAnswer::Retry;
}

Status WorkArea::failWith(ErrorRecord record) {
  error(std::move(record));
  return kFailure;
}

ErrorResult WorkArea::error(ErrorRecord record) {
  if (record.subsystem.empty()) {
    record.subsystem = sysName();
    if (record.subsystem.empty()) record.subsystem = "???DRIVE";
  }
  return engineRaise(record);
}

Status WorkArea::goBottom() {
  return unsupported("GOBOTTOM");
}
Status WorkArea::goTo(std::uint32_t) {
  return unsupported("GOTO");
}
Status WorkArea::goToId(const Value&) {
  return unsupported("GOTOID");
}
Status WorkArea::goTop() {
  return unsupported("GOTOP");
}
Status WorkArea::seek(const Value&, bool, bool) {
  return unsupported("SEEK");
}
Status WorkArea::skipRaw(std::int64_t) {
  return unsupported("SKIPRAW");
}
Status WorkArea::append(bool) {
  return unsupported("APPEND");
}
Status WorkArea::deleteRec() {
  return unsupported("DELETE");
}
Status WorkArea::recall() {
  return unsupported("RECALL");
}
Status WorkArea::deleted(bool&) {
  return unsupported("DELETED");
}
Status WorkArea::flush() {
  return unsupported("FLUSH");
}
Status WorkArea::goCold() {
  return unsupported("GOCOLD");
}
Status WorkArea::goHot() {
  return unsupported("GOHOT");
}
Status WorkArea::getRec(const char*&) {
  return unsupported("GETREC");
}
Status WorkArea::putRec(const char*) {
  return unsupported("PUTREC");
}
Status WorkArea::getValue(int, Value&) {
  return unsupported("GETVALUE");
}
Status WorkArea::getVarLen(int, std::uint32_t&) {
  return unsupported("GETVARLEN");
}
Status WorkArea::putValue(int, const Value&) {
  return unsupported("PUTVALUE");
}
Status WorkArea::recCount(std::uint32_t&) {
  return unsupported("RECCOUNT");
}
Status WorkArea::recNo(std::uint32_t&) {
  return unsupported("RECNO");
}
Status WorkArea::pack() {
  return unsupported("PACK");
}
Status WorkArea::zap() {
  return unsupported("ZAP");
}
Status WorkArea::sort(WorkArea&, const Scope&, const std::vector<int>&, const std::vector<bool>&) {
  return unsupported("SORT");
}
Status WorkArea::orderListAdd(const std::string&, const std::string&) {
  return unsupported("ORDLSTADD");
}
Status WorkArea::orderListClear() {
  return unsupported("ORDLSTCLEAR");
}
Status WorkArea::orderListFocus(const Value&, std::string&) {
  return unsupported("ORDSETFOCUS");
}
Status WorkArea::orderListRebuild() {
  return unsupported("ORDLSTREBUILD");
}
Status WorkArea::orderCreate(const OrderCreateInfo&) {
  return unsupported("ORDCREATE");
}
Status WorkArea::orderCondition(const OrderCondition&) {
  return unsupported("ORDCONDITION");
}
Status WorkArea::orderInfo(int, const Value&, Value& out) {
  out = Value();  // the base answers nothing for order requests
  return kSuccess;
}
Status WorkArea::lock(const LockRequest&, bool&) {
  return unsupported("LOCK");
}
Status WorkArea::unlock(std::uint32_t) {
  return unsupported("UNLOCK");
}
Status WorkArea::create(const OpenInfo& info) {
  return WorkArea::open(info);
}
Status WorkArea::clearRel() {
  return kSuccess;
}

Status WorkArea::addField(const Field& f) {
  if (f.name.empty() || f.width < 0) return kFailure;
  Field nf = f;
  nf.name = upperName(f.name.substr(0, 10));
  fields_.push_back(std::move(nf));
  return kSuccess;
}

int WorkArea::fieldPos(std::string_view name) const {
  std::string up = upperName(name);
  for (std::size_t i = 0; i < fields_.size(); ++i)
    if (fields_[i].name == up) return static_cast<int>(i) + 1;
  return 0;
}

void WorkArea::linkFields() {
  for (auto& f : fields_) {
    f.area = area_;
    f.sym = getSymbol(f.name);
    f.nextSameName = f.sym->fieldChain;
    f.sym->fieldChain = &f;
  }
}

void WorkArea::unlinkFields() {
  for (auto& f : fields_) {
    if (!f.sym) continue;
    FieldLink** link = &f.sym->fieldChain;
    while (*link && *link != &f) link = &(*link)->nextSameName;
    if (*link == &f) *link = f.nextSameName;
    f.sym = nullptr;
    f.nextSameName = nullptr;
  }
}

Status WorkArea::open(const OpenInfo& info) {
  std::string alias = info.alias.empty() ? defaultAlias(info.fileName) : info.alias;
  std::string up = upperName(alias);
  if (isIdentifier(alias)) {
    int other = aliasArea(up);
    if (other != 0 && other != area_ && areaAt(other)) {
      return failWith(
          ErrorRecord(EG_DUPALIAS, kDbCmdDupAlias).in("DBCMD").op(alias).allow(kCanDefault));
    }
    aliasTable()[up] = area_;
    aliasSym_ = getSymbol(up);
  }
  alias_ = up;
  linkFields();
  open_ = true;
  return kSuccess;
}

Status WorkArea::close() {
  clearFilter();
  clearRel();
  locate_ = Scope{};
  unlinkFields();
  if (aliasSym_) {
    auto it = aliasTable().find(aliasSym_->name);
    if (it != aliasTable().end() && it->second == area_) aliasTable().erase(it);
    aliasSym_ = nullptr;
  }
  open_ = false;
  return kSuccess;
}

Status WorkArea::info(int request, Value& out) {
  switch (request) {
    case 1:
    case 2:
      out = false;
      break;  // base: no table-level capability
    default:
      out = Value();
      break;
  }
  return kSuccess;
}

Status WorkArea::setFilter(const Value& block, const std::string& text) {
  clearFilter();
  filterBlock_ = block.isBlock() ? block : Value();
  filterText_ = text;
  return kSuccess;
}

Status WorkArea::clearFilter() {
  filterBlock_ = Value();
  filterText_.clear();
  return kSuccess;
}

void WorkArea::setEventBlocks(const std::vector<Value>& blocks) {
  for (int i = 0; i < kEventCount; ++i)
    events_[i] =
        static_cast<std::size_t>(i) < blocks.size() && blocks[static_cast<std::size_t>(i)].isBlock()
            ? blocks[static_cast<std::size_t>(i)]
            : Value();
}

void WorkArea::runEvent(EventKind k) {
  if (!events_[k].isBlock()) return;
  AreaGuard g(area_);
  evalNoArgs(events_[k]);
}

Status WorkArea::skipFilter(int d) {
  bool deletedOn = setFlag(kSetDeleted);
  if (!hasFilter() && !deletedOn) return kSuccess;
  bool startedTop = atTop_, startedBottom = atBottom_;
  while (!bof_ && !eof_) {
    bool reject = false;
    if (hasFilter()) {
      if (evalBlock(filterBlock_) != kSuccess) return kFailure;
      reject = !passesFilter(result_);
    }
    if (!reject && deletedOn) {
      bool del = false;
      if (deleted(del) != kSuccess) return kFailure;
      reject = del;
    }
    if (!reject) break;
    if (skipRaw(d) != kSuccess) return kFailure;
  }
  if (startedTop && eof_) {
    bof_ = true;
  } else if (startedBottom && bof_) {
    eof_ = true;
  } else if (bof_ && d < 0) {
    if (goTop() != kSuccess) return kFailure;
    bof_ = true;
    eof_ = false;
  }
  return kSuccess;
}

Status WorkArea::skip(std::int64_t n) {
  atTop_ = atBottom_ = false;
  if (n == 0) return skipRaw(0);
  int d = n > 0 ? 1 : -1;
  for (std::int64_t i = 0; i < (n > 0 ? n : -n); ++i) {
    if (skipRaw(d) != kSuccess) return kFailure;
    if (skipFilter(d) != kSuccess) return kFailure;
    if (bof_ || eof_) break;
  }
  if (d < 0)
    eof_ = false;
  else
    bof_ = false;
  return kSuccess;
}

bool WorkArea::compile(std::string_view text) {
  CompileResult r = compileBlock(Value(text));
  result_ = r.status == 0 ? r.block : Value();
  return r.status == 0;
}

Status WorkArea::evalBlock(const Value& block) {
  AreaGuard g(area_);
  Value v = evalNoArgs(block);
  // A number without a display width gets the default one for its value.
  if (v.isNumber() && v.width() == 0) {
    int w = 0, d = 0;
    displayLayout(v, w, d);
    v.setWidth(w, d);
  }
  result_ = v;
  return kSuccess;
}

Status WorkArea::forEachInScope(const Scope& scope, const std::function<Status()>& process) {
  // Scope: one record, or `next` records from here, or the rest, or the whole table.
  std::int64_t next = -1;
  if (scope.record.isNumber()) {
    if (goTo(static_cast<std::uint32_t>(scope.record.asDouble())) != kSuccess) return kFailure;
    next = 1;
  } else if (scope.next.isNumber()) {
    next = static_cast<std::int64_t>(scope.next.asDouble());
    if (next <= 0) return kSuccess;
  } else if (!scope.rest && !scope.whileBlock.isBlock()) {
    if (goTop() != kSuccess) return kFailure;
  }
  while (!eof_) {
    if (scope.whileBlock.isBlock()) {
      if (evalBlock(scope.whileBlock) != kSuccess) return kFailure;
      if (result_.isLogical() && !result_.asBool()) break;
    }
    bool take = true;
    if (scope.forBlock.isBlock()) {
      if (evalBlock(scope.forBlock) != kSuccess) return kFailure;
      take = result_.isLogical() && result_.asBool();
    }
    if (take && process() != kSuccess) return kFailure;
    if (next > 0 && --next == 0) break;
    if (skip(1) != kSuccess) return kFailure;
  }
  return kSuccess;
}

Status WorkArea::dbEval(const Value& block, const Scope& scope) {
  return forEachInScope(scope, [&] { return evalBlock(block); });
}

Status WorkArea::transRec(WorkArea& target, const std::vector<std::pair<int, int>>& map) {
  if (target.append(true) != kSuccess) return kFailure;
  for (auto [from, to] : map) {
    Value v;
    if (getValue(from, v) != kSuccess) return kFailure;
    if (target.putValue(to, v) != kSuccess) return kFailure;
  }
  bool del = false;
  if (deleted(del) != kSuccess) return kFailure;
  if (del && target.deleteRec() != kSuccess) return kFailure;
  return kSuccess;
}

Status WorkArea::trans(WorkArea& target, const std::vector<std::pair<int, int>>& map,
                       const Scope& scope) {
  return forEachInScope(scope, [&] { return transRec(target, map); });
}

}  // namespace kv::engine
