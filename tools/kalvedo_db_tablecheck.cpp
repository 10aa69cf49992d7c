#include "tools/kalvedo_db_tablecheck.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/dbf/dbfarea.h"
#include "platform/file.h"
#include "platform/filename.h"

namespace kv::tools {

namespace {

std::uint32_t le16(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0] | (p[1] << 8));
}
std::uint32_t le32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::string hexByte(unsigned v) {
  char b[8];
  std::snprintf(b, sizeof b, "0x%02X", v & 0xFFu);
  return b;
}

class TableChecker {
 public:
  TableChecker(const std::string& path, Findings& out) : path_(path), out_(out) {}

  TableFacts run() {
    if (!file_.open(path_, platform::Access::Read, platform::Share::Shared,
                    platform::Disposition::OpenExisting)) {
      // A name of several files that differ only in case is shown with all of them.
      out_.problem(platform::reportedName(path_), "cannot be opened (operating-system error " +
                                                      std::to_string(platform::lastOsError()) +
                                                      ")");
      return facts_;
    }
    size_ = file_.size();
    unsigned char h[32];
    if (size_ < 32 || file_.readAt(0, h, 32) != 32) {
      problem("the file is shorter than the 32-byte table header");
      return facts_;
    }
    bool openable = true;
    if (h[0] != 0x03 && h[0] != 0x83) {
      problem("version byte " + hexByte(h[0]) + " is neither 0x03 nor 0x83");
      openable = false;
    }
    facts_.headerLength = le16(h + 8);
    facts_.recordLength = le16(h + 10);
    facts_.headerCount = le32(h + 4);
    const std::uint32_t hdr = facts_.headerLength;
    if (hdr < 33 || hdr > static_cast<std::uint64_t>(size_)) {
      problem("header length " + std::to_string(hdr) + " does not fit a file of " +
              std::to_string(size_) + " bytes");
      return facts_;
    }
    std::vector<unsigned char> head(hdr);
    if (file_.readAt(0, head.data(), hdr) != hdr) {
      problem("the header cannot be read");
      return facts_;
    }
    if (!checkDescriptors(head, h[0] == 0x83)) openable = false;
    if (facts_.recordLength == 0) {
      problem("record length 0 in the header");
      return facts_;
    }
    checkRecords();
    facts_.openable = openable;
    return facts_;
  }

 private:
  void problem(const std::string& text) { out_.problem(path_, text); }
  void note(const std::string& text) { out_.note(path_, text); }

  // Descriptors from offset 32 up to the 0x0D terminator; answers whether the engine can
  // lay out the record from them.
  bool checkDescriptors(const std::vector<unsigned char>& head, bool memoVersion) {
    const std::uint32_t hdr = facts_.headerLength;
    std::uint32_t off = 32;
    int fields = 0;
    std::uint64_t widths = 0;
    bool sound = true, memoField = false;
    while (off < hdr && head[off] != 0x0D) {
      ++fields;
      std::string where = "field " + std::to_string(fields);
      if (off + 32 > hdr) {
        problem(where + ": descriptor runs past the header length " + std::to_string(hdr));
        return false;
      }
      const unsigned char* d = head.data() + off;
      std::size_t len = 0;
      while (len < 11 && d[len] != 0) ++len;
      if (len == 0) problem(where + ": descriptor without a name");
      if (len > 10) problem(where + ": name is not ended by a zero byte");
      where += " (" +
               std::string(reinterpret_cast<const char*>(d), std::min<std::size_t>(len, 10)) + ")";
      char type = static_cast<char>(d[11]);
      int width = d[16], dec = d[17];
      switch (type) {
        case 'C':
          width += 256 * dec;
          if (width == 0) problem(where + ": character field of width 0");
          break;
        case 'N':
          if (width == 0) problem(where + ": number field of width 0");
          if (dec > 0 && dec >= width)
            problem(where + ": " + std::to_string(dec) + " decimals in a width of " +
                    std::to_string(width));
          break;
        case 'D':
        case 'L':
        case 'M': {
          int want = type == 'D' ? 8 : type == 'L' ? 1 : 10;
          if (width != want)
            problem(where + ": " + std::string(1, type) + " field of width " +
                    std::to_string(width) + ", not " + std::to_string(want));
          width = want;
          memoField = memoField || type == 'M';
          break;
        }
        default:
          problem(where + ": unknown field type " + hexByte(d[11]));
          sound = false;
          break;
      }
      widths += static_cast<std::uint64_t>(width);
      off += 32;
    }
    if (fields == 0) {
      problem("no field descriptors");
      sound = false;
    }
    if (off >= hdr) {
      problem("no descriptor terminator 0x0D inside the header length " + std::to_string(hdr));
    } else if (hdr > off + 2) {
      note("header length " + std::to_string(hdr) + " leaves " + std::to_string(hdr - off - 1) +
           " bytes after the descriptor terminator");
    }
    if (facts_.recordLength != widths + 1) {
      problem("record length " + std::to_string(facts_.recordLength) +
              " in the header, the fields need " + std::to_string(widths + 1));
      if (facts_.recordLength < widths + 1) sound = false;
    }
    if (memoField && !memoVersion) problem("memo field in a table of version 0x03");
    if (memoVersion && !memoField) note("version 0x83 without a memo field");
    if (memoVersion && !platform::fileExists(engine::memoNameFor(path_))) {
      problem("memo file " + engine::memoNameFor(path_) + " is missing");
      sound = false;
    }
    return sound;
  }

  // Record count against the file size, and the deletion flag of every record present.
  void checkRecords() {
    const std::uint64_t hdr = facts_.headerLength, rec = facts_.recordLength;
    const std::uint64_t size = static_cast<std::uint64_t>(size_);
    const std::uint64_t whole = (size - hdr) / rec, rest = (size - hdr) % rec;
    facts_.fileRecords = static_cast<std::uint32_t>(std::min<std::uint64_t>(whole, 0xFFFFFFFFu));
    const std::uint64_t count = facts_.headerCount;
    const std::uint64_t end = hdr + count * rec;
    const std::string part = rest == 0 ? "" : " and " + counted(rest, "byte");
    if (size < end) {
      problem("the header counts " + counted(count, "record") + ", the file holds " +
              counted(whole, "whole record") + part + " (cut off)");
    } else if (size > end + 1) {
      problem(counted(size - end, "byte") + " after the " + std::to_string(count) +
              " counted records (" + counted(whole - count, "uncounted record") + part + ")");
    } else if (size == end + 1) {
      unsigned char b = 0;
      if (file_.readAt(end, &b, 1) == 1 && b != 0x1A)
        note("the byte after the last record is " + hexByte(b) + ", not the end mark 0x1A");
    }
    checkDeletionFlags(whole);
  }

  void checkDeletionFlags(std::uint64_t records) {
    const std::uint64_t hdr = facts_.headerLength, rec = facts_.recordLength;
    const std::uint64_t perChunk = std::max<std::uint64_t>(1, (1u << 16) / rec);
    std::vector<unsigned char> buf;
    int reported = 0;
    for (std::uint64_t first = 0; first < records; first += perChunk) {
      std::uint64_t n = std::min(perChunk, records - first);
      buf.resize(static_cast<std::size_t>(n * rec));
      if (file_.readAt(hdr + first * rec, buf.data(), buf.size()) !=
          static_cast<std::int64_t>(buf.size())) {
        problem("records from " + std::to_string(first + 1) + " cannot be read");
        return;
      }
      for (std::uint64_t i = 0; i < n; ++i) {
        unsigned char flag = buf[static_cast<std::size_t>(i * rec)];
        if (flag == ' ' || flag == '*') continue;
        if (++reported <= 20)
          problem("record " + std::to_string(first + i + 1) + ": deletion flag " + hexByte(flag) +
                  " is neither a blank nor \"*\"");
      }
    }
    if (reported > 20)
      problem(std::to_string(reported - 20) + " more records with a bad deletion flag");
  }

  std::string path_;
  Findings& out_;
  platform::File file_;
  std::int64_t size_ = 0;
  TableFacts facts_;
};

}  // namespace

TableFacts checkTableFile(const std::string& path, Findings& out) {
  return TableChecker(path, out).run();
}

}  // namespace kv::tools
