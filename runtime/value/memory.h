#pragma once
// Accounting of the memory the runtime allocates for values (strings, arrays, blocks,
// objects). The event poll reads it to decide when to collect, and the end of the program
// reports bytes still held ("Bytes sin liberar: ").
#include <cstddef>
#include <cstdint>
#include <new>

namespace kv {

// Bytes currently held by runtime allocations.
std::int64_t memInUse();
// Records an allocation of n bytes (positive) or a release (negative).
void memAdjust(std::int64_t delta);

// Standard allocator that counts what it hands out in memInUse(). Used for the storage of
// every heap-held value so that the figures cover all runtime data.
template <class T>
struct CountingAllocator {
  using value_type = T;
  CountingAllocator() noexcept = default;
  template <class U>
  CountingAllocator(const CountingAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) {
    memAdjust(static_cast<std::int64_t>(n * sizeof(T)));
    return static_cast<T*>(::operator new(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t n) noexcept {
    memAdjust(-static_cast<std::int64_t>(n * sizeof(T)));
    ::operator delete(p);
  }
  template <class U>
  bool operator==(const CountingAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace kv
