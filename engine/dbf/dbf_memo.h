#pragma once
// The memo file of a table (".dbt"): 512-byte blocks numbered from 0.
//
// | Offset        | Size | Meaning                                                   |
// |---------------|------|-----------------------------------------------------------|
// | 0             | 4    | next free block (unsigned, little-endian); never read back |
// | 4             | 508  | zero in files created here                                 |
// | 512 x b       | L+1  | a memo text starting at block b, ended by one 0x1A byte;   |
// |               |      | it may run over any number of following blocks             |
//
// A record's memo field holds the starting block as decimal digits, right-justified in 10
// bytes with leading spaces; all spaces (block 0) is the empty memo. When reading, every
// byte that is not a digit is skipped, so zero-padded and left-justified numbers read too.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file.h"

namespace kv::engine {

constexpr std::uint32_t kMemoBlock = 512;

// The block number held by the 10 bytes of a memo field (0 when none). Answers false when
// the digits do not fit a block number.
bool memoBlockFromField(std::string_view field, std::uint32_t& block);
// The 10 bytes of a memo field for a block (all spaces for 0).
std::string memoFieldFromBlock(std::uint32_t block);

class MemoFile {
 public:
  platform::File& file() { return file_; }
  bool isOpen() const { return file_.isOpen(); }

  // Writes block 0 of a new (or zapped) memo file and cuts the file after it.
  bool writeHeader();
  // Length of the text at `block`, counted up to the first 0x1A; false when the block lies
  // beyond the end of the file or a read fails.
  bool textLength(std::uint32_t block, std::uint32_t& length);
  // Reads the text at `block` up to its end mark in one pass; false when the block lies
  // beyond the end of the file or a read fails.
  bool readText(std::uint32_t block, std::string& out);
  // Reads `length` bytes of the text at `block`; false on a short read.
  bool read(std::uint32_t block, std::uint32_t length, std::string& out);
  // Writes a text: in place at `block` when it is not 0 and the text is at most 510 bytes,
  // else at the end of the file from a fresh block boundary (updating the next-free word).
  // Answers the block used; false on a short write. Shared tables hold the append lock of
  // the memo file around it (`shared`).
  bool write(std::string_view text, std::uint32_t& block, bool shared);

  // Writes a next-free word held back by exclusive appends (flush and close).
  bool writePendingHeader();
  // Forgets what is known of the file (after it was opened anew).
  void reset() {
    knownSize_ = -1;
    pendingNextFree_ = 0;
  }

  bool written = false;  // written since the last commit

 private:
  platform::File file_;
  // Exclusive use only: the file's size as this open last left it (-1 unknown), and a
  // next-free word not yet written (0 none). Shared appends always ask the file.
  std::int64_t knownSize_ = -1;
  std::uint32_t pendingNextFree_ = 0;
};

}  // namespace kv::engine
