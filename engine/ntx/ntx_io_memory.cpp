#include "engine/ntx/ntx_io.h"

#include <algorithm>
#include <cstring>

namespace kv::ntx {

std::int64_t MemoryNtxIo::readAt(std::uint64_t offset, void* buf, std::size_t n) {
  std::size_t avail = offset < data.size() ? data.size() - offset : 0;
  std::size_t take = std::min(n, avail);
  if (readsBeforeFailure == 0) take = take > shortBy ? take - shortBy : 0;
  if (readsBeforeFailure > 0) --readsBeforeFailure;
  if (take) std::memcpy(buf, data.data() + offset, take);
  return static_cast<std::int64_t>(take);
}

std::int64_t MemoryNtxIo::writeAt(std::uint64_t offset, const void* buf, std::size_t n) {
  std::size_t put = n;
  if (writesBeforeFailure == 0) put = n > shortBy ? n - shortBy : 0;
  if (writesBeforeFailure > 0) --writesBeforeFailure;
  if (data.size() < offset + put) data.resize(offset + put);
  if (put) std::memcpy(data.data() + offset, buf, put);
  return static_cast<std::int64_t>(put);
}

bool MemoryNtxIo::truncate(std::uint64_t size) {
  data.resize(size);
  return true;
}

bool MemoryNtxIo::lock(std::uint64_t, std::uint64_t) {
  if (refuseLocks) return false;
  ++locksHeld;
  return true;
}

bool MemoryNtxIo::unlock(std::uint64_t, std::uint64_t) {
  if (locksHeld == 0) return false;
  --locksHeld;
  return true;
}

}  // namespace kv::ntx
