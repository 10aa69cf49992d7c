// Database functions: areas, opening and creating tables, movement, records and locks.
#include "engine/area/dbfunc.h"

#include <cctype>

#include "engine/area/areas.h"
#include "engine/area/dberror.h"
#include "engine/area/dbfunc_args.h"
#include "engine/area/drivers.h"
#include "runtime/error/error.h"
#include "runtime/lang/settings.h"

namespace kv::engine {

namespace {

bool flagOr(const Value& v, bool dflt) {
  return v.deref().isLogical() ? v.deref().asBool() : dflt;
}

std::string trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

}  // namespace

Value DBUSEAREA(const Value& newArea, const Value& driver, const Value& file, const Value& alias,
                const Value& shared, const Value& readOnly) {
  NETERR(Value(false));
  if (flagOr(newArea, false)) selectArea(0);
  int n = currentAreaNumber();
  if (areaAt(n) && closeArea(n) != kSuccess) return Value();
  bool unknown = false;
  std::string drv = driver.deref().isString() ? std::string(driver.deref().str()) : std::string();
  std::unique_ptr<WorkArea> wa = newWorkArea(drv, unknown);
  if (!wa) {
    dbcmdError(EG_ARG, kDbCmdNoDriver, "DBUSEAREA");
    return Value();
  }
  const Value& f = file.deref();
  if (!f.isString() || trimmed(f.str()).empty()) {
    dbcmdError(EG_ARG, kDbCmdNoFile, "DBUSEAREA");
    return Value();
  }
  OpenInfo info;
  info.fileName = trimmed(f.str());
  if (alias.deref().isString()) info.alias = trimmed(alias.deref().str());
  info.shared = flagOr(shared, !setFlag(kSetExclusive));
  info.readOnly = flagOr(readOnly, false);
  wa->setAreaNumber(n);
  if (wa->open(info) != kSuccess) return Value();  // released here; the slot stays empty
  storeArea(n, std::move(wa));
  return Value();
}

Value DBCLOSEAREA() {
  closeArea(currentAreaNumber());
  return Value();
}

Value DBCLOSEALL() {
  closeAllAreas();
  return Value();
}

Value DBSELECTAREA(const Value& area) {
  const Value& a = area.deref();
  int n = -1;
  if (a.isNumber()) {
    double d = a.asDouble();
    n = d >= 256 || d < 0 ? 0 : static_cast<int>(d);
  } else if (a.isString()) {
    std::string_view s = a.str();
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    if (!s.empty() && std::isdigit(static_cast<unsigned char>(s.front()))) {
      int v = 0;
      for (char c : s) {
        if (!std::isdigit(static_cast<unsigned char>(c))) break;
        v = v * 10 + (c - '0');
        if (v >= 256) break;
      }
      n = v >= 256 ? 0 : v;
    } else {
      n = aliasArea(trimmed(s));
      if (n == 0 || !areaAt(n)) return Value::integer(currentAreaNumber());
    }
  } else {
    return Value::integer(currentAreaNumber());
  }
  if (n == currentAreaNumber()) return Value::integer(n);
  return Value::integer(selectArea(n));
}

Value DBCREATE(const Value& file, const Value& structure, const Value& driver,
               std::optional<Value> keepOpen, const Value& alias) {
  const Value& f = file.deref();
  const Value& st = structure.deref();
  if (!f.isString() || trimmed(f.str()).empty() || !st.isArray() || st.arrayLen() == 0) {
    dbcmdError(EG_ARG, kDbCmdStructure, "DBCREATE");
    return Value();
  }
  std::string drv;
  if (driver.deref().isString()) drv = std::string(driver.deref().str().substr(0, 58));
  bool unknown = false;
  std::unique_ptr<WorkArea> wa = newWorkArea(drv, unknown);
  if (!wa) {
    dbcmdError(EG_ARG, kDbCmdNoDriver, "DBCREATE");
    return Value();
  }
  std::uint64_t recLen = 1;
  for (const Value& row : st.arr()->items) {
    const Value& r = row.deref();
    if (!r.isArray() || r.arrayLen() < 4) break;
    const auto& it = r.arr()->items;
    const Value &name = it[0].deref(), &type = it[1].deref(), &len = it[2].deref(),
                &dec = it[3].deref();
    if (!type.isString() || type.str().empty() || !len.isNumber() || !dec.isNumber() ||
        !name.isString() || trimmed(name.str()).empty())
      break;
    Field fd;
    fd.name = upperName(trimmed(name.str()));
    fd.type = static_cast<char>(std::toupper(static_cast<unsigned char>(type.str()[0])));
    if (fd.type != 'C' && fd.type != 'N' && fd.type != 'D' && fd.type != 'L' && fd.type != 'M')
      fd.type = 'U';
    double w = len.asDouble(), d = dec.asDouble();
    fd.width = w < 0 ? -1 : static_cast<int>(w);
    fd.dec = d < 0 ? 0 : static_cast<int>(d);
    if (fd.type == 'C' && fd.dec > 0 && fd.width < 256) fd.width += 256 * fd.dec, fd.dec = 0;
    // Widths the file format cannot hold are rejected rather than silently cut.
    bool bad = fd.width < 0 || (fd.type == 'C' && (fd.width < 1 || fd.width > 65535)) ||
               (fd.type == 'N' && (fd.width < 1 || fd.width > 255 || fd.dec > 255 ||
                                   (fd.dec > 0 && fd.dec >= fd.width - 1)));
    if (bad || wa->addField(fd) != kSuccess) {
      dbcmdError(EG_ARG, kDbCmdStructure, "DBCREATE");
      return Value();
    }
    recLen += fd.type == 'D' ? 8 : fd.type == 'L' ? 1 : fd.type == 'M' ? 10 : fd.width;
  }
  if (wa->fieldCount() == 0 || recLen > 65535 || wa->fieldCount() > 2046) {
    dbcmdError(EG_ARG, kDbCmdStructure, "DBCREATE");
    return Value();
  }
  int previous = currentAreaNumber();
  bool keepFalse = keepOpen && keepOpen->deref().isLogical() && !keepOpen->deref().asBool();
  if (!keepFalse) selectArea(0);
  int n = currentAreaNumber();
  if (areaAt(n) && closeArea(n) != kSuccess) return Value();
  OpenInfo info;
  info.fileName = trimmed(f.str());
  if (alias.deref().isString()) info.alias = trimmed(alias.deref().str());
  wa->setAreaNumber(n);
  if (wa->create(info) != kSuccess) {
    selectArea(previous);
    return Value();
  }
  storeArea(n, std::move(wa));
  if (!keepOpen) {
    closeArea(n);
    selectArea(previous);
  }
  return Value();
}

Value DBSTRUCT() {
  Value a = Value::newArray();
  WorkArea* wa = currentArea();
  if (!wa) return a;
  for (int i = 1; i <= wa->fieldCount(); ++i) {
    const Field& f = wa->field(i);
    Value row = Value::newArray();
    auto& it = row.arr()->items;
    it.push_back(Value(f.name));
    it.push_back(Value(std::string(1, f.type)));
    // Lengths and decimals are plain numbers, shown with the default width of their value.
    it.push_back(Value::integer(f.width));
    it.push_back(Value::integer(f.dec));
    a.arr()->items.push_back(row);
  }
  return a;
}

Value AFIELDS(const Value& names, const Value& types, const Value& lens, const Value& decs) {
  WorkArea* wa = currentArea();
  if (!wa) return Value::integer(0);
  Value st = DBSTRUCT();
  std::size_t n = st.arrayLen();
  const Value* targets[4] = {&names.deref(), &types.deref(), &lens.deref(), &decs.deref()};
  for (int k = 0; k < 4; ++k) {
    const Value& t = *targets[k];
    if (!t.isArray()) continue;
    n = std::min(n, t.arrayLen());
  }
  for (int k = 0; k < 4; ++k) {
    const Value& t = *targets[k];
    if (!t.isArray()) continue;
    for (std::size_t i = 0; i < n; ++i) t.arr()->items[i] = st.arr()->items[i].arr()->items[k];
  }
  return Value::integer(static_cast<std::int32_t>(n));
}

Value DBGOTOP() {
  if (WorkArea* wa = needTable("DBGOTOP")) wa->goTop();
  return Value();
}

Value DBGOBOTTOM() {
  if (WorkArea* wa = needTable("DBGOBOTTOM")) wa->goBottom();
  return Value();
}

Value DBGOTO(const Value& recNo) {
  if (WorkArea* wa = needTable("DBGOTO")) wa->goToId(recNo);
  return Value();
}

Value DBSKIP(const Value& count) {
  if (WorkArea* wa = needTable("DBSKIP")) {
    const Value& c = count.deref();
    wa->skip(c.isNumber() ? static_cast<std::int64_t>(c.asDouble()) : 1);
  }
  return Value();
}

Value DBSEEK(const Value& key, const Value& soft, const Value& last) {
  WorkArea* wa = needTable("DBSEEK");
  if (!wa) return Value(false);
  const Value& k = key.deref();
  const Value& s = soft.deref();
  const Value& l = last.deref();
  bool keyOk = k.isString() || k.isNumber() || k.isDate() || k.isLogical();
  if (!keyOk || !(s.isNil() || s.isLogical()) || !(l.isNil() || l.isLogical())) {
    dbcmdError(EG_ARG, kDbCmdSeekKey, "DBSEEK");
    return Value(false);
  }
  Value kv = k.isMemo() ? Value(k.str()) : k;
  if (wa->seek(kv, flagOr(s, setFlag(kSetSoftSeek)), flagOr(l, false)) != kSuccess)
    return Value(false);
  return Value(wa->found());
}

Value DBAPPEND(const Value& releaseLocks) {
  NETERR(Value(false));
  if (WorkArea* wa = needTable("DBAPPEND")) wa->append(flagOr(releaseLocks, true));
  return Value();
}

Value DBDELETE() {
  if (WorkArea* wa = needTable("DBDELETE")) wa->deleteRec();
  return Value();
}

Value DBRECALL() {
  if (WorkArea* wa = needTable("DBRECALL")) wa->recall();
  return Value();
}

Value __DBPACK() {
  if (WorkArea* wa = needTable("__DBPACK")) wa->pack();
  return Value();
}

Value __DBZAP() {
  if (WorkArea* wa = needTable("__DBZAP")) wa->zap();
  return Value();
}

Value DBCOMMIT() {
  if (WorkArea* wa = needTable("DBCOMMIT")) wa->flush();
  return Value();
}

Value DBCOMMITALL() {
  for (int i = 1; i <= kMaxAreas; ++i)
    if (WorkArea* wa = areaAt(i)) {
      AreaGuard g(i);
      wa->flush();
    }
  return Value();
}

Value FIELDGET(const Value& n) {
  WorkArea* wa = currentArea();
  const Value& v = n.deref();
  if (!wa || !v.isNumber()) return Value();
  int i = static_cast<int>(v.asDouble());
  Value out;
  if (i < 1 || i > wa->fieldCount() || wa->getValue(i, out) != kSuccess) return Value();
  return out;
}

Value FIELDPUT(const Value& n, const Value& v) {
  WorkArea* wa = currentArea();
  const Value& i = n.deref();
  if (!wa || !i.isNumber()) return Value();
  int k = static_cast<int>(i.asDouble());
  if (k < 1 || k > wa->fieldCount()) return Value();
  if (wa->putValue(k, v) != kSuccess) return Value();
  return v.deref();
}

Value FIELDPOS(const Value& name) {
  WorkArea* wa = currentArea();
  const Value& v = name.deref();
  if (!wa || !v.isString()) return Value::integer(0);
  return Value::integer(wa->fieldPos(trimmed(v.str())));
}

namespace {
bool lockCall(const LockRequest& req, const char* op) {
  WorkArea* wa = needTable(op);
  if (!wa) return false;
  bool ok = false;
  if (wa->lock(req, ok) != kSuccess) return false;
  return ok;
}
}  // namespace

Value DBRLOCK(const Value& recNo) {
  const Value& r = recNo.deref();
  LockRequest req;
  if (r.isNumber()) {
    double d = r.asDouble();
    req.recNo = d < 1 || d > 4294967295.0 ? 0xFFFFFFFFU : static_cast<std::uint32_t>(d);
    req.kind = 2;
  } else {
    req.kind = 1;
  }
  return Value(lockCall(req, "DBRLOCK"));
}

Value DBRLOCKLIST() {
  Value out = Value::newArray();
  if (WorkArea* wa = currentArea()) wa->info(8, out);
  return out;
}

Value DBUNLOCK() {
  if (WorkArea* wa = needTable("DBUNLOCK")) wa->unlock(0);
  return Value();
}

Value DBUNLOCKALL() {
  for (int i = 1; i <= kMaxAreas; ++i)
    if (WorkArea* wa = areaAt(i)) {
      AreaGuard g(i);
      wa->unlock(0);
    }
  return Value();
}

Value DBRUNLOCK(const Value& recNo) {
  if (WorkArea* wa = needTable("DBRUNLOCK")) {
    const Value& r = recNo.deref();
    double d = r.isNumber() ? r.asDouble() : 0;
    wa->unlock(d < 1 || d > 4294967295.0 ? 0 : static_cast<std::uint32_t>(d));
  }
  return Value();
}

Value __LOCK() {
  return Value(lockCall(LockRequest{0, 1}, "RLOCK"));
}
Value __FLOCK() {
  return Value(lockCall(LockRequest{0, 3}, "FLOCK"));
}

}  // namespace kv::engine
