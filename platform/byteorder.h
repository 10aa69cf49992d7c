#pragma once
// Little-endian integers in file bytes: every multi-byte integer of the table, memo and index
// files and of the error object's record is stored low byte first, whatever the processor's
// own order. The pointers may be of any byte type and need no alignment.
#include <cstdint>

namespace kv::platform {

// The 16-bit and 32-bit unsigned integers stored at `p`.
inline std::uint16_t readLe16(const void* p) {
  const auto* b = static_cast<const std::uint8_t*>(p);
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}
inline std::uint32_t readLe32(const void* p) {
  const auto* b = static_cast<const std::uint8_t*>(p);
  return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
         (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

// Stores the low 16 bits, or all 32 bits, of `v` at `p`.
inline void writeLe16(void* p, std::uint32_t v) {
  auto* b = static_cast<std::uint8_t*>(p);
  b[0] = static_cast<std::uint8_t>(v);
  b[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void writeLe32(void* p, std::uint32_t v) {
  auto* b = static_cast<std::uint8_t*>(p);
  for (int i = 0; i < 4; ++i) b[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace kv::platform
