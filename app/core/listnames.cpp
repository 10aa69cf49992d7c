#include "app/core/listnames.h"

#include "app/core/datafiles.h"
#include "engine/area/dbfunc.h"
#include "runtime/lang/eventpoll.h"
#include "runtime/lib/strings.h"

namespace kv::app {

using namespace kv::engine;

namespace {

// Releases the record locks of an area when a write unwinds before its DBUNLOCK.
class UnlockOnUnwind {
 public:
  explicit UnlockOnUnwind(const Value& alias) : alias_(alias) {}
  ~UnlockOnUnwind() {
    if (armed_) {
      DBSELECTAREA(alias_);
      DBUNLOCK();
    }
  }
  UnlockOnUnwind(const UnlockOnUnwind&) = delete;
  UnlockOnUnwind& operator=(const UnlockOnUnwind&) = delete;
  void disarm() { armed_ = false; }

 private:
  Value alias_;
  bool armed_ = true;
};

}  // namespace

std::string paddedName(std::string_view typed) {
  std::string out(typed.substr(0, kNameWidth));
  out.resize(kNameWidth, ' ');
  return out;
}

bool isBlankName(std::string_view name) {
  return name.find_first_not_of(' ') == std::string_view::npos;
}

Value nameKey(std::string_view name) {
  return Value(upperText(name));
}

std::string trimRight(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

std::string shownName(std::string_view name) {
  return upperText(trimRight(name));
}

std::string fieldText(const char* name) {
  return std::string(FIELDGET(FIELDPOS(Value(name))).str());
}

namespace {

void writeLocked(const Value& alias, const std::function<void()>& put) {
  UnlockOnUnwind unlock(alias);
  REC_LOCK(Value(0), alias);
  DBSELECTAREA(alias);
  put();
  DBSELECTAREA(alias);
  DBUNLOCK();
  unlock.disarm();
}

}  // namespace

void writeLockedRecord(const Value& alias, const std::function<void()>& put) {
  writeLocked(alias, put);
  DBCOMMIT();
}

void deleteLockedRecord(const Value& alias) {
  writeLockedRecord(alias, [] { DBDELETE(); });
}

// One commit at the end: a flush to disk per record would make a long list slow to clear.
void deleteAllRecords(const Value& alias) {
  DBSELECTAREA(alias);
  DBGOTOP();
  while (!__EOF().asBool()) {
    eventPoll();
    writeLocked(alias, [] { DBDELETE(); });
    DBSKIP();
  }
  DBCOMMIT();
}

}  // namespace kv::app
