#include "fuzz/fuzz_tables.h"

#include <algorithm>

#include "engine/area/areas.h"
#include "engine/area/dbfunc.h"
#include "runtime/format/dates.h"

namespace kvfuzz {

using kv::Value;
using kv::engine::WorkArea;

WorkArea* openTable(const std::string& file, const char* driver, bool shared, bool readOnly) {
  kv::engine::DBUSEAREA(Value(true), Value(driver), Value(file), Value(), Value(shared),
                        Value(readOnly));
  WorkArea* wa = kv::engine::currentArea();
  return wa != nullptr && wa->isOpen() ? wa : nullptr;
}

namespace {

void readCurrent(WorkArea& wa) {
  bool del = false;
  (void)wa.deleted(del);
  const char* rec = nullptr;
  (void)wa.getRec(rec);
  for (int f = 1; f <= wa.fieldCount(); ++f) {
    Value v;
    (void)wa.getValue(f, v);
    std::uint32_t len = 0;
    if (wa.field(f).type == 'M') (void)wa.getVarLen(f, len);
  }
}

}  // namespace

void walkRecords(WorkArea& wa, std::uint32_t limit) {
  std::uint32_t count = 0;
  if (wa.recCount(count) != kv::engine::kSuccess) return;
  const std::uint32_t byNumber = std::min(count, limit);
  for (std::uint32_t r = 1; r <= byNumber; ++r) {
    if (wa.goTo(r) != kv::engine::kSuccess) return;
    readCurrent(wa);
  }
  // The last record and the phantom record after it.
  if (count > byNumber) {
    (void)wa.goTo(count);
    readCurrent(wa);
  }
  (void)wa.goTo(count + 1);
  readCurrent(wa);
  // In the area's order, both ways.
  if (wa.goTop() != kv::engine::kSuccess) return;
  for (std::uint32_t i = 0; i < limit && !wa.eof(); ++i) {
    readCurrent(wa);
    if (wa.skip(1) != kv::engine::kSuccess) return;
  }
  if (wa.goBottom() != kv::engine::kSuccess) return;
  for (std::uint32_t i = 0; i < limit && !wa.bof(); ++i) {
    readCurrent(wa);
    if (wa.skip(-1) != kv::engine::kSuccess) return;
  }
}

void writeEveryField(WorkArea& wa, std::size_t memoLength) {
  for (int f = 1; f <= wa.fieldCount(); ++f) {
    const kv::engine::Field& field = wa.field(f);
    Value v;
    switch (field.type) {
      case 'C':
        v = Value(std::string(static_cast<std::size_t>(std::max(field.width, 1)), 'x'));
        break;
      case 'N':
        v = Value::number(-12.5, 0, 1);
        break;
      case 'D':
        v = Value::date(kv::julianFromCalendar(9, 12, 2026));
        break;
      case 'L':
        v = Value(true);
        break;
      case 'M':
        v = Value(std::string(memoLength, 'm'));
        break;
      default:
        continue;
    }
    if (wa.putValue(f, v) != kv::engine::kSuccess) return;
  }
  (void)wa.flush();
}

}  // namespace kvfuzz
