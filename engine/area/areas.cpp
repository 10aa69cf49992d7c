#include "engine/area/areas.h"

#include <array>
#include <utility>

namespace kv::engine {

namespace {

struct Table {
  std::array<std::unique_ptr<WorkArea>, kMaxAreas + 1> slots;  // slot 0 unused: see areaAt
  int current = 1;
  std::vector<Value> pendingEvents;
};

Table& table() {
  static Table t;
  return t;
}

}  // namespace

int currentAreaNumber() {
  return table().current;
}

WorkArea* currentArea() {
  return table().slots[static_cast<std::size_t>(table().current)].get();
}

WorkArea* areaAt(int n) {
  if (n == 0) return currentArea();
  if (n < 0 || n > kMaxAreas) return nullptr;
  return table().slots[static_cast<std::size_t>(n)].get();
}

int lowestFreeArea() {
  for (int i = 1; i <= kMaxAreas; ++i)
    if (!table().slots[static_cast<std::size_t>(i)]) return i;
  return 0;
}

int selectArea(int n) {
  int previous = table().current;
  if (n == 0) {
    n = lowestFreeArea();
    if (n == 0) internalError(1101);
  }
  if (n < 1 || n > kMaxAreas) return previous;
  table().current = n;
  return previous;
}

void storeArea(int n, std::unique_ptr<WorkArea> wa) {
  if (n < 1 || n > kMaxAreas) return;
  if (wa) wa->setAreaNumber(n);
  table().slots[static_cast<std::size_t>(n)] = std::move(wa);
}

std::unique_ptr<WorkArea> takeArea(int n) {
  if (n < 1 || n > kMaxAreas) return nullptr;
  return std::move(table().slots[static_cast<std::size_t>(n)]);
}

Status closeArea(int n) {
  WorkArea* wa = areaAt(n);
  if (!wa) return kSuccess;
  Status r = kSuccess;
  {
    AreaGuard g(wa->areaNumber());
    r = wa->close();
  }
  takeArea(wa->areaNumber());  // released here
  return r;
}

void closeAllAreas() {
  for (int i = 1; i <= kMaxAreas; ++i) closeArea(i);
  table().current = 1;
}

void setPendingEvents(std::vector<Value> blocks) {
  table().pendingEvents = std::move(blocks);
}
std::vector<Value> takePendingEvents() {
  return std::exchange(table().pendingEvents, {});
}

}  // namespace kv::engine
