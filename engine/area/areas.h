#pragma once
// The work-area table: 255 numbered slots holding open tables, the current area number, and
// selection by number or alias. Slot 0 always stands for the current area.
#include <memory>
#include <string_view>
#include <vector>

#include "engine/area/workarea.h"

namespace kv::engine {

constexpr int kMaxAreas = 255;

// The current area number (1 at start) and its work area (null when the slot is empty).
int currentAreaNumber();
WorkArea* currentArea();
// The work area in slot n (0 = current); null when empty or out of range.
WorkArea* areaAt(int n);

// Selects area n (0: the lowest free area; more than 255 areas in use is internal error
// 1101). Answers the previous area number.
int selectArea(int n);
// The lowest free slot, 0 when every slot is in use.
int lowestFreeArea();

// Puts an opened work area into slot n, or takes it out (the caller releases it).
void storeArea(int n, std::unique_ptr<WorkArea> wa);
std::unique_ptr<WorkArea> takeArea(int n);

// Closes and releases the table in slot n (nothing when empty); answers the close status.
Status closeArea(int n);
// Closes every area and selects area 1.
void closeAllAreas();

// Selects `area` for the life of the guard, then restores the previous selection.
class AreaGuard {
 public:
  explicit AreaGuard(int area) : previous_(selectArea(area)) {}
  ~AreaGuard() { selectArea(previous_ == 0 ? 1 : previous_); }
  AreaGuard(const AreaGuard&) = delete;
  AreaGuard& operator=(const AreaGuard&) = delete;

 private:
  int previous_;
};

// Event blocks stored by DBSETEVENTS for the next table opened; taken by that open.
void setPendingEvents(std::vector<Value> blocks);
std::vector<Value> takePendingEvents();

}  // namespace kv::engine
