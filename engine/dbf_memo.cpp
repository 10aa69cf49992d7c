#include "engine/dbf_memo.h"

#include <cstring>
#include <vector>

#include "engine/dbf_lock.h"

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
  if (shared && !netAppendLock(file_)) return false;
  bool ok = true;
  std::uint64_t pos;
  bool appended = false;
  if (block != 0 && text.size() <= 510) {
    pos = static_cast<std::uint64_t>(block) * kMemoBlock;
  } else {
    std::int64_t size = file_.size();
    if (size < 0) {
      ok = false;
      pos = 0;
    } else {
      // Filler up to the next block boundary; a size already on a boundary gets a whole
      // filler block, so a new text never starts in the block right after it.
      std::uint64_t s = static_cast<std::uint64_t>(size);
      std::uint64_t fill = kMemoBlock - s % kMemoBlock;
      std::vector<char> filler(fill, 0);
      ok = file_.writeAt(s, filler.data(), fill) == static_cast<std::int64_t>(fill);
      pos = s + fill;
      appended = true;
      if (pos / kMemoBlock > 0xFFFFFFFFULL) ok = false;
    }
  }
  if (ok) {
    std::string data(text);
    data.push_back('\x1A');
    ok = file_.writeAt(pos, data.data(), data.size()) == static_cast<std::int64_t>(data.size());
  }
  if (ok && appended) {
    block = static_cast<std::uint32_t>(pos / kMemoBlock);
    std::uint64_t end = pos + text.size() + 1;
    std::uint32_t nextFree = static_cast<std::uint32_t>((end + kMemoBlock - 1) / kMemoBlock);
    unsigned char w[4] = {
        static_cast<unsigned char>(nextFree), static_cast<unsigned char>(nextFree >> 8),
        static_cast<unsigned char>(nextFree >> 16), static_cast<unsigned char>(nextFree >> 24)};
    ok = file_.writeAt(0, w, 4) == 4;
  }
  written = true;
  if (shared) netAppendUnlock(file_);
  return ok;
}

}  // namespace kv::engine
