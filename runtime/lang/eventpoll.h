#pragma once
// The event poll: the runtime's housekeeping, called once per pass by every loop of the
// application and by the engine between lock attempts and while it sorts or builds an
// index. It does not dispatch window messages (only the window library's message loops do).
//
// Values are reference-counted, so a value is freed as soon as nothing refers to it, except
// where arrays, objects, code blocks and by-reference cells refer to each other in a cycle.
// The poll reclaims such cycles: when the memory in use has grown by kCollectThreshold bytes
// or more since the last collection, it runs the collector.
#include <cstddef>
#include <cstdint>

namespace kv {

constexpr std::int64_t kCollectThreshold = 4'000'000;

// Once per pass of a loop: collects when memory grew by the threshold since the last
// collection.
void eventPoll();

// Collects now: finds every container cell (array, object, block, by-reference cell) that
// can no longer be reached from outside the containers, i.e. is held only by other
// unreachable containers, and breaks those cycles by clearing the cells, which frees them.
// Cells reachable from anything else (variables, the evaluation of a running function, a
// C++ pointer) are never touched. Answers the number of cells reclaimed.
std::size_t collectGarbage();

// memInUse() as the last collection (or the start of the run) left it.
std::int64_t memAtLastCollection();

}  // namespace kv
