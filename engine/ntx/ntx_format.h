#pragma once
// Byte layout of an NTX index file. The file is a sequence of 1024-byte blocks: block 0 is
// the header, every other block a page of the key tree (or a released page on the free
// list). Integers are little-endian; page references are byte offsets into the file.
//
// Header (block 0):
//   off  size  meaning
//   0    2     signature and flags: 6 plain, +1 FOR condition / descending / partial,
//              +8 partial, 0x10 alternative lock offset, 0x20 write-lock scheme;
//              a file is accepted only when bit 1 or bit 2 is set
//   2    2     update counter (1 in a new file)
//   4    4     offset of the root page
//   8    4     head of the free-page list (0: empty)
//   12   2     item size = key size + 8
//   14   2     key size (1..256)
//   16   2     decimals of a numeric key
//   18   2     maximum keys per page
//   20   2     half page = maximum keys / 2
//   22   256   key expression text, NUL-padded
//   278  1     unique flag          279  1  zero
//   280  1     descending flag      281  1  zero
//   282  256   FOR condition text, NUL-padded
//   538  11    tag name (10 characters + NUL)
//   549  475   zero
//
// Page:
//   0              2                   key count n
//   2              2 x (max + 1)       offset table: entry i = byte offset of item i
//   2 x max + 4    (max + 1) x item    item slots
// An item is child page (4), record number (4), key bytes (key size). Items 0..n-1 hold the
// keys in ascending order of the offset table; item i's child holds the keys sorting
// before key i; item n carries only the child with the keys after key n-1.
#include <array>
#include <cstdint>
#include <string>

#include "engine/ntx/ntx_io.h"
#include "platform/byteorder.h"
#include "runtime/error/error.h"

namespace kv::ntx {

constexpr std::uint32_t kPageSize = 1024;
constexpr std::size_t kHeaderReadSize = 548;
constexpr std::size_t kHeaderUpdateSize = 12;
constexpr int kMaxKeySize = 256;
constexpr int kMaxDepth = 1023;

constexpr std::uint16_t kSigPlain = 6;
constexpr std::uint16_t kSigConditional = 1;
constexpr std::uint16_t kSigPartial = 8;
constexpr std::uint16_t kSigAltLock = 0x10;
constexpr std::uint16_t kSigWriteLock = 0x20;

constexpr std::uint64_t kIndexLockOffset = 1000000000ULL;
constexpr std::uint64_t kIndexAltLockOffset = 0xFFFFFFFFULL;

// Page sizing for a key size: maximum keys and half page.
struct PageSizing {
  int maxKeys = 0;
  int halfPage = 0;
};
PageSizing pageSizing(int keySize);

// The header fields the engine uses.
struct NtxHeader {
  std::uint16_t signature = kSigPlain;
  std::uint16_t updateCounter = 1;
  std::uint32_t root = kPageSize;
  std::uint32_t freeHead = 0;
  int itemSize = 0;
  int keySize = 0;
  int keyDecimals = 0;
  int maxKeys = 0;
  int halfPage = 0;
  std::string keyText;
  bool unique = false;
  bool descending = false;
  std::string forText;
  std::string tagName;
};

// Encodes the whole 1024-byte header block.
void encodeHeader(const NtxHeader& h, std::uint8_t* block);
// Decodes the first 548 bytes (fewer give false). Does not validate.
bool decodeHeader(const std::uint8_t* bytes, std::size_t n, NtxHeader& h);
// Checks the decoded header against the rules of the layout and the file size; answers an
// empty text when it is sound, else what is wrong.
std::string validateHeader(const NtxHeader& h, std::int64_t fileSize);

// One page in memory with accessors for its items. The geometry (maximum keys, item size)
// comes from the header; validate() must accept the bytes before items are touched.
class Page {
 public:
  Page() = default;
  Page(int maxKeys, int itemSize) : max_(maxKeys), item_(itemSize) {}
  void setGeometry(int maxKeys, int itemSize) {
    max_ = maxKeys;
    item_ = itemSize;
  }

  std::uint8_t* bytes() { return b_.data(); }
  const std::uint8_t* bytes() const { return b_.data(); }

  // A fresh empty page: count 0, offset table in slot order, every item zero.
  void initFresh();
  // True when the count and the offset table are sound: every entry names a distinct item
  // slot of the page.
  bool sound() const;
  // Empty text when sound(), else what is wrong.
  std::string validate() const;

  int count() const { return platform::readLe16(b_.data()); }
  void setCount(int n) { platform::writeLe16(b_.data(), static_cast<std::uint32_t>(n)); }
  int slot(int i) const { return platform::readLe16(b_.data() + 2 + 2 * i); }
  void setSlot(int i, int off) {
    platform::writeLe16(b_.data() + 2 + 2 * i, static_cast<std::uint32_t>(off));
  }
  std::uint32_t child(int i) const { return platform::readLe32(b_.data() + slot(i)); }
  void setChild(int i, std::uint32_t c) { platform::writeLe32(b_.data() + slot(i), c); }
  std::uint32_t recno(int i) const { return platform::readLe32(b_.data() + slot(i) + 4); }
  const std::uint8_t* key(int i) const { return b_.data() + slot(i) + 8; }
  // Writes record number and key bytes of item i (the child stays).
  void setEntry(int i, std::uint32_t recno, const std::uint8_t* key);

  // Opens position p (0..count) in the offset table with the spare slot, count + 1; the new
  // item's bytes are left for the caller. Requires count < maximum.
  void openAt(int p);
  // Closes position p (0..count-1): its slot becomes spare, count - 1.
  void closeAt(int p);

  int maxKeys() const { return max_; }
  int itemSize() const { return item_; }
  int keySize() const { return item_ - 8; }

 private:
  std::array<std::uint8_t, kPageSize> b_{};
  int max_ = 0;
  int item_ = 0;
};

// Raises an error of the index subsystem ("DBFNTX") for file `fileName` through the
// engine's error path.
ErrorResult raiseNtxError(int genCode, int subCode, const std::string& fileName, int osCode = 0,
                          int flags = 0, int tries = 0);

}  // namespace kv::ntx
