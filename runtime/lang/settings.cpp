#include "runtime/lang/settings.h"

#include <array>

namespace kv {

namespace {
std::array<Value, kSettingCount>& table() {
  static std::array<Value, kSettingCount> t;
  return t;
}
}  // namespace

void resetSettings() {
  auto& t = table();
  for (auto& v : t) v = Value();
  t[kSetExact] = false;
  t[kSetFixed] = false;
  t[kSetDecimals] = Value::integer(2);
  t[kSetDateFormat] = Value("mm/dd/yy");
  t[kSetEpoch] = Value::integer(1900);
  t[kSetPath] = Value("");
  t[kSetDefault] = Value("");
  t[kSetExclusive] = false;
  t[kSetSoftSeek] = false;
  t[kSetUnique] = false;
  t[kSetDeleted] = false;
}

void releaseSettings() {
  for (auto& v : table()) v = Value();
}

const Value& setting(int n) {
  static const Value nil;
  if (n < 0 || n >= kSettingCount) return nil;
  return table()[n];
}

void setSetting(int n, const Value& v) {
  if (n < 0 || n >= kSettingCount) return;
  const Value& d = v.deref();
  if (n == kSetDateFormat && d.isString() && d.str().size() > 12) {
    table()[n] = Value(d.str().substr(0, 12));
    return;
  }
  table()[n] = d;
}

Value SET(int n, const Value& newValue) {
  Value old = setting(n);
  if (!newValue.deref().isNil()) setSetting(n, newValue);
  return old;
}

bool setFlag(int n) {
  return setting(n).asBool();
}
int setNumber(int n) {
  return setting(n).asInt();
}
std::string setText(int n) {
  return setting(n).toStdString();
}

}  // namespace kv
