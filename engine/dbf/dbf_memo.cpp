#include "engine/dbf/dbf_memo.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/dbf/dbf_lock.h"
#include "platform/byteorder.h"

namespace kv::engine {

bool memoBlockFromField(std::string_view field, std::uint32_t& block) {
  std::uint64_t n = 0;
  for (char c : field) {
    if (c < '0' || c > '9') continue;
    n = n * 10 + static_cast<std::uint64_t>(c - '0');
    if (n > 0xFFFFFFFFULL) return false;
  }
  block = static_cast<std::uint32_t>(n);
  return true;
}

std::string memoFieldFromBlock(std::uint32_t block) {
  if (block == 0) return std::string(10, ' ');
  std::string digits = std::to_string(block);
  return std::string(10 - digits.size(), ' ') + digits;
}

bool MemoFile::writeHeader() {
  unsigned char h[kMemoBlock] = {};
  h[0] = 1;  // next free block
  if (file_.writeAt(0, h, kMemoBlock) != kMemoBlock) return false;
  if (!file_.truncate(kMemoBlock)) return false;
  knownSize_ = kMemoBlock;
  pendingNextFree_ = 0;
  written = true;
  return true;
}

bool MemoFile::textLength(std::uint32_t block, std::uint32_t& length) {
  length = 0;
  std::int64_t size = file_.size();
  std::uint64_t pos = static_cast<std::uint64_t>(block) * kMemoBlock;
  if (size < 0 || pos >= static_cast<std::uint64_t>(size)) return false;
  char buf[kMemoBlock];
  std::uint64_t total = 0;
  for (;;) {
    std::int64_t got = file_.readAt(pos, buf, kMemoBlock);
    if (got < 0) return false;
    const void* end = std::memchr(buf, 0x1A, static_cast<std::size_t>(got));
    if (end) {
      total += static_cast<std::uint64_t>(static_cast<const char*>(end) - buf);
      break;
    }
    total += static_cast<std::uint64_t>(got);
    // A text that runs to the end of the file without its end mark ends there.
    if (got < static_cast<std::int64_t>(kMemoBlock)) break;
    pos += kMemoBlock;
  }
  if (total > 0xFFFFFFFFULL) return false;
  length = static_cast<std::uint32_t>(total);
  return true;
}

bool MemoFile::writePendingHeader() {
  if (pendingNextFree_ == 0) return true;
  std::uint32_t n = pendingNextFree_;
  unsigned char w[4];
  platform::writeLe32(w, n);
  if (file_.writeAt(0, w, 4) != 4) return false;
  pendingNextFree_ = 0;
  written = true;
  return true;
}

bool MemoFile::readText(std::uint32_t block, std::string& out) {
  out.clear();
  std::uint64_t pos = static_cast<std::uint64_t>(block) * kMemoBlock;
  // Most texts fit one block; longer ones are read in growing pieces.
  std::size_t piece = kMemoBlock;
  for (;;) {
    std::size_t old = out.size();
    out.resize(old + piece);
    std::int64_t got = file_.readAt(pos, out.data() + old, piece);
    if (got < 0) {
      out.clear();
      return false;
    }
    const void* end = std::memchr(out.data() + old, 0x1A, static_cast<std::size_t>(got));
    if (end) {
      out.resize(static_cast<std::size_t>(static_cast<const char*>(end) - out.data()));
      return true;
    }
    out.resize(old + static_cast<std::size_t>(got));
    // Nothing at all at the start block: it lies beyond the end of the file.
    if (old == 0 && got == 0) return false;
    // A text that runs to the end of the file without its end mark ends there.
    if (static_cast<std::size_t>(got) < piece) return true;
    if (out.size() > 0xFFFFFFF0ULL) {
      out.clear();
      return false;
    }
    pos += piece;
    if (piece < 65536) piece *= 2;
  }
}

bool MemoFile::read(std::uint32_t block, std::uint32_t length, std::string& out) {
  out.assign(length, '\0');
  if (length == 0) return true;
  std::int64_t got =
      file_.readAt(static_cast<std::uint64_t>(block) * kMemoBlock, out.data(), length);
  if (got != static_cast<std::int64_t>(length)) {
    out.clear();
    return false;
  }
  return true;
}

bool MemoFile::write(std::string_view text, std::uint32_t& block, bool shared) {
  AppendLock lock(file_, shared);
  if (shared && !lock.held()) return false;
  bool ok = true;
  std::uint64_t pos = 0, writeAt = 0;
  bool appended = false;
  std::string data;
  if (block != 0 && text.size() <= 510) {
    pos = writeAt = static_cast<std::uint64_t>(block) * kMemoBlock;
  } else {
    std::int64_t size = !shared && knownSize_ >= 0 ? knownSize_ : file_.size();
    if (size < 0) {
      ok = false;
    } else {
      // Filler up to the next block boundary; a size already on a boundary gets a whole
      // filler block, so a new text never starts in the block right after it.
      std::uint64_t s = static_cast<std::uint64_t>(size);
      std::uint64_t fill = kMemoBlock - s % kMemoBlock;
      data.assign(fill, '\0');
      writeAt = s;
      pos = s + fill;
      appended = true;
      if (pos / kMemoBlock > 0xFFFFFFFFULL) ok = false;
    }
  }
  if (ok) {
    data.append(text);
    data.push_back('\x1A');
    ok = file_.writeAt(writeAt, data.data(), data.size()) == static_cast<std::int64_t>(data.size());
  }
  if (ok && appended) {
    block = static_cast<std::uint32_t>(pos / kMemoBlock);
    std::uint64_t end = pos + text.size() + 1;
    std::uint32_t nextFree = static_cast<std::uint32_t>((end + kMemoBlock - 1) / kMemoBlock);
    if (!shared) {
      // Alone on the file: the word is written once, at the next flush or close.
      pendingNextFree_ = nextFree;
      written = true;
      return true;
    }
    unsigned char w[4];
    platform::writeLe32(w, nextFree);
    ok = file_.writeAt(0, w, 4) == 4;
  }
  written = true;
  return ok;
}

}  // namespace kv::engine
