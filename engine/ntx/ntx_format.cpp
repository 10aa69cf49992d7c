#include "engine/ntx/ntx_format.h"

#include <algorithm>
#include <bitset>
#include <cstring>

#include "engine/area/dberror.h"

namespace kv::ntx {

PageSizing pageSizing(int keySize) {
  PageSizing s;
  if (keySize < 1) return s;
  int q = 1020 / (keySize + 10);
  s.halfPage = (q - 1) / 2;
  s.maxKeys = 2 * s.halfPage;
  return s;
}

namespace {

void putText(std::uint8_t* p, std::size_t width, const std::string& text) {
  std::size_t n = std::min(width, text.size());
  std::memcpy(p, text.data(), n);
}

std::string getText(const std::uint8_t* p, std::size_t width) {
  std::size_t n = 0;
  while (n < width && p[n] != 0) ++n;
  return std::string(reinterpret_cast<const char*>(p), n);
}

bool pageOffsetSound(std::uint32_t off, std::int64_t fileSize) {
  return off >= kPageSize && off % kPageSize == 0 &&
         static_cast<std::int64_t>(off) + kPageSize <= fileSize;
}

}  // namespace

void encodeHeader(const NtxHeader& h, std::uint8_t* block) {
  std::memset(block, 0, kPageSize);
  platform::writeLe16(block + 0, h.signature);
  platform::writeLe16(block + 2, h.updateCounter);
  platform::writeLe32(block + 4, h.root);
  platform::writeLe32(block + 8, h.freeHead);
  platform::writeLe16(block + 12, static_cast<std::uint32_t>(h.itemSize));
  platform::writeLe16(block + 14, static_cast<std::uint32_t>(h.keySize));
  platform::writeLe16(block + 16, static_cast<std::uint32_t>(h.keyDecimals));
  platform::writeLe16(block + 18, static_cast<std::uint32_t>(h.maxKeys));
  platform::writeLe16(block + 20, static_cast<std::uint32_t>(h.halfPage));
  putText(block + 22, 256, h.keyText);
  block[278] = h.unique ? 1 : 0;
  block[280] = h.descending ? 1 : 0;
  putText(block + 282, 256, h.forText);
  putText(block + 538, 10, h.tagName);
}

bool decodeHeader(const std::uint8_t* b, std::size_t n, NtxHeader& h) {
  if (n < kHeaderReadSize) return false;
  h.signature = platform::readLe16(b + 0);
  h.updateCounter = platform::readLe16(b + 2);
  h.root = platform::readLe32(b + 4);
  h.freeHead = platform::readLe32(b + 8);
  h.itemSize = platform::readLe16(b + 12);
  h.keySize = platform::readLe16(b + 14);
  h.keyDecimals = platform::readLe16(b + 16);
  h.maxKeys = platform::readLe16(b + 18);
  h.halfPage = platform::readLe16(b + 20);
  h.keyText = getText(b + 22, 256);
  h.unique = b[278] != 0;
  h.descending = b[280] != 0;
  h.forText = getText(b + 282, 256);
  h.tagName = getText(b + 538, 10);
  return true;
}

std::string validateHeader(const NtxHeader& h, std::int64_t fileSize) {
  if ((h.signature & 6) == 0) return "bad signature " + std::to_string(h.signature);
  if (h.keySize < 1 || h.keySize > kMaxKeySize)
    return "key size " + std::to_string(h.keySize) + " out of range";
  if (h.itemSize != h.keySize + 8)
    return "item size " + std::to_string(h.itemSize) + " does not match the key size";
  if (h.maxKeys < 2 || 2 * h.maxKeys + 4 + (h.maxKeys + 1) * h.itemSize > int(kPageSize))
    return "maximum keys " + std::to_string(h.maxKeys) + " do not fit a page";
  if (h.halfPage < 1 || h.halfPage > h.maxKeys / 2)
    return "half page " + std::to_string(h.halfPage) + " out of range";
  if (h.keyText.empty()) return "empty key expression";
  if (!pageOffsetSound(h.root, fileSize))
    return "root page " + std::to_string(h.root) + " outside the file";
  if (h.freeHead != 0 && !pageOffsetSound(h.freeHead, fileSize))
    return "free-list head " + std::to_string(h.freeHead) + " outside the file";
  return std::string();
}

void Page::initFresh() {
  b_.fill(0);
  int base = 2 * max_ + 4;
  for (int i = 0; i <= max_; ++i) setSlot(i, base + i * item_);
}

bool Page::sound() const {
  if (count() > max_) return false;
  const unsigned base = unsigned(2 * max_ + 4);
  const unsigned span = unsigned((max_ + 1) * item_);
  // Division by the item size through a reciprocal: exact for offsets below 1024.
  const std::uint32_t recip = ((1u << 24) + unsigned(item_) - 1) / unsigned(item_);
  std::uint64_t seen[kPageSize / 64] = {};
  for (int i = 0; i <= max_; ++i) {
    unsigned off = unsigned(slot(i));
    unsigned rel = off - base;  // wraps for offsets below the slots
    if (rel >= span || ((rel * recip) >> 24) * unsigned(item_) != rel) return false;
    std::uint64_t bit = std::uint64_t(1) << (off & 63);
    if (seen[off >> 6] & bit) return false;
    seen[off >> 6] |= bit;
  }
  return true;
}

std::string Page::validate() const {
  if (sound()) return std::string();
  int n = count();
  if (n > max_) return "key count " + std::to_string(n) + " above the maximum";
  int base = 2 * max_ + 4;
  std::bitset<kPageSize> seen;
  for (int i = 0; i <= max_; ++i) {
    int off = slot(i);
    if (off < base || off + item_ > int(kPageSize) || (off - base) % item_ != 0)
      return "item offset " + std::to_string(off) + " of entry " + std::to_string(i) +
             " outside the item slots";
    if (seen[std::size_t(off)]) return "item offset " + std::to_string(off) + " used twice";
    seen[std::size_t(off)] = true;
  }
  return "offset table unsound";
}

void Page::setEntry(int i, std::uint32_t recno, const std::uint8_t* key) {
  std::uint8_t* p = b_.data() + slot(i);
  platform::writeLe32(p + 4, recno);
  std::memcpy(p + 8, key, static_cast<std::size_t>(item_ - 8));
}

void Page::openAt(int p) {
  int n = count();
  int spare = slot(n + 1);
  for (int i = n + 1; i > p; --i) setSlot(i, slot(i - 1));
  setSlot(p, spare);
  setCount(n + 1);
}

void Page::closeAt(int p) {
  int n = count();
  int gone = slot(p);
  for (int i = p; i < n; ++i) setSlot(i, slot(i + 1));
  setSlot(n, gone);
  setCount(n - 1);
}

ErrorResult raiseNtxError(int genCode, int subCode, const std::string& fileName, int osCode,
                          int flags, int tries) {
  return engine::engineRaise(engine::fileError(genCode, subCode, fileName, osCode)
                                 .in("DBFNTX")
                                 .allow(flags)
                                 .attempt(tries));
}

}  // namespace kv::ntx
