#include "tools/kalvedo_db_tablecheck.h"

#include <algorithm>
#include <vector>

#include "engine/dbf/dbf_format.h"
#include "engine/dbf/dbfarea.h"
#include "platform/file.h"
#include "platform/filename.h"

namespace kv::tools {

namespace {

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
    engine::DbfLayout layout = engine::readDbfLayout(file_);
    for (const std::string& p : layout.problems) problem(p);
    for (const std::string& n : layout.notes) note(n);
    if (!layout.headerRead) return facts_;
    facts_.headerLength = layout.header.headerLength;
    facts_.recordLength = layout.header.recordLength;
    facts_.headerCount = layout.header.recordCount;
    if (!layout.descriptorsExamined) return facts_;
    // A descriptor that runs past the header ends the descriptor checks; the index checks are
    // then left out too, although the driver would open the fields before it.
    bool openable = layout.opens && layout.descriptorsRead;
    if (layout.descriptorsRead && layout.header.hasMemo() &&
        !platform::fileExists(engine::memoNameFor(path_))) {
      problem("memo file " + engine::memoNameFor(path_) + " is missing");
      openable = false;
    }
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
        note("the byte after the last record is " + engine::hexByteText(b) +
             ", not the end mark 0x1A");
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
          problem("record " + std::to_string(first + i + 1) + ": deletion flag " +
                  engine::hexByteText(flag) + " is neither a blank nor \"*\"");
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
