#include "tools/kalvedo_db_snapshot.h"

#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "engine/area/dberror.h"
#include "engine/dbf/dbf_format.h"
#include "engine/dbf/dbf_lock.h"

namespace kv::tools {

namespace {

namespace fs = std::filesystem;

std::string lower(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string joined(const std::string& dir, const std::string& name) {
  return (fs::path(dir) / name).string();
}

// Raises the error of a file operation that failed; answers false.
bool fileFailed(const char* subsystem, int gen, int sub, const std::string& file, int os) {
  engine::engineRaise(engine::fileError(gen, sub, file, os).in(subsystem));
  return false;
}

// Reads the whole open file into an entry named `name`.
bool readWhole(platform::File& f, const std::string& name, ArchiveEntry& e) {
  const std::int64_t size = f.size();
  if (size < 0) return false;
  e.name = name;
  e.bytes.resize(static_cast<std::size_t>(size));
  if (size > 0 && f.readAt(0, e.bytes.data(), e.bytes.size()) != size) return false;
  struct stat st {};
  e.mtime = ::fstat(f.fd(), &st) == 0 ? st.st_mtime : 0;
  return true;
}

bool openShared(platform::File& f, const std::string& path) {
  return f.open(path, platform::Access::Read, platform::Share::Shared,
                platform::Disposition::OpenExisting);
}

// A record appended by another station is written at once, its count in the header only at
// that station's commit; every shared reader counts the whole records in the file instead.
// The copy gets that count in its header, so it opens and checks as what the stations see.
void countWholeRecords(std::string& table) {
  if (table.size() < engine::kDbfHeaderSize) return;
  auto* bytes = reinterpret_cast<std::uint8_t*>(table.data());
  const engine::DbfHeader h = engine::decodeDbfHeader(bytes);
  if (h.headerLength < engine::kDbfHeaderSize + 1 || h.recordLength == 0 ||
      table.size() < h.headerLength)
    return;
  const std::uint64_t whole = (table.size() - h.headerLength) / h.recordLength;
  if (whole <= h.recordCount || whole > 0xFFFFFFFFu) return;
  engine::setDbfRecordCount(bytes, static_cast<std::uint32_t>(whole));
}

// The append and file lock of a table, released when the copy is done.
class TableLock {
 public:
  explicit TableLock(platform::File& f) : f_(f) {}
  ~TableLock() {
    if (held_) {
      engine::netFileUnlock(f_);
      engine::netAppendUnlock(f_);
    }
  }
  TableLock(const TableLock&) = delete;
  TableLock& operator=(const TableLock&) = delete;

  // Takes both locks (see the header); answers false with the operating-system code left in
  // platform::lastOsError() when a lock cannot be taken for another reason than a station
  // holding it.
  bool take(const std::function<void()>& waiting) {
    for (int attempt = 1;; ++attempt) {
      if (!engine::netAppendLock(f_)) return false;
      if (engine::netFileLock(f_)) return held_ = true;
      const int os = platform::lastOsError();
      engine::netAppendUnlock(f_);
      platform::setLastOsError(os);
      if (os != 33) return false;
      if (attempt == 500 && waiting) waiting();
      timespec ts{0, 2000000};
      nanosleep(&ts, nullptr);
    }
  }

 private:
  platform::File& f_;
  bool held_ = false;
};

}  // namespace

DataFiles listDataFiles(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec))
    if (e.is_regular_file(ec)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  DataFiles out;
  std::vector<std::string> memos, indexes;
  for (const auto& n : names) {
    const std::string ext = lower(fs::path(n).extension().string());
    if (ext == ".dbf") out.tables.push_back({n, "", {}});
    if (ext == ".dbt") memos.push_back(n);
    if (ext == ".ntx") indexes.push_back(n);
    if (lower(n) == "klauzula.txt") out.others.push_back(n);
  }
  auto base = [](const std::string& n) { return lower(fs::path(n).stem().string()); };
  auto owner = [&](const std::string& n) -> TableFiles* {
    for (auto& t : out.tables)
      if (base(t.table) == base(n)) return &t;
    return nullptr;
  };
  for (const auto& m : memos) {
    TableFiles* t = owner(m);
    if (t && t->memo.empty())
      t->memo = m;
    else
      out.others.push_back(m);
  }
  for (const auto& i : indexes) {
    if (TableFiles* t = owner(i))
      t->indexes.push_back(i);
    else
      out.others.push_back(i);
  }
  std::sort(out.others.begin(), out.others.end());
  return out;
}

bool copyTable(const std::string& dir, const TableFiles& t, std::vector<ArchiveEntry>& out,
               const std::function<void()>& waiting) {
  const std::string path = joined(dir, t.table);
  platform::File dbf;
  if (!openShared(dbf, path))
    return fileFailed("DBF", EG_OPEN, kDbOpenTable, path, platform::lastOsError());
  platform::File memo;
  const std::string memoPath = t.memo.empty() ? "" : joined(dir, t.memo);
  if (!t.memo.empty() && !openShared(memo, memoPath))
    return fileFailed("DBF", EG_OPEN, kDbOpenMemo, memoPath, platform::lastOsError());
  std::vector<platform::File> indexes(t.indexes.size());
  for (std::size_t i = 0; i < t.indexes.size(); ++i)
    if (!openShared(indexes[i], joined(dir, t.indexes[i])))
      return fileFailed("DBFNTX", EG_OPEN, kDbOpenIndex, joined(dir, t.indexes[i]),
                        platform::lastOsError());

  std::vector<ArchiveEntry> copies(2 + t.indexes.size());
  {
    TableLock lock(dbf);
    if (!lock.take(waiting))
      return fileFailed("DBF", EG_APPENDLOCK, kDbAppendLock, path, platform::lastOsError());
    if (!readWhole(dbf, t.table, copies[0]))
      return fileFailed("DBF", EG_READ, kDbRead, path, platform::lastOsError());
    if (memo.isOpen() && !readWhole(memo, t.memo, copies[1]))
      return fileFailed("DBF", EG_READ, kDbRead, memoPath, platform::lastOsError());
    for (std::size_t i = 0; i < indexes.size(); ++i)
      if (!readWhole(indexes[i], t.indexes[i], copies[2 + i]))
        return fileFailed("DBFNTX", EG_READ, kDbRead, joined(dir, t.indexes[i]),
                          platform::lastOsError());
  }
  countWholeRecords(copies[0].bytes);
  for (auto& c : copies)
    if (!c.name.empty()) out.push_back(std::move(c));
  return true;
}

bool copyFile(const std::string& dir, const std::string& name, std::vector<ArchiveEntry>& out) {
  const std::string path = joined(dir, name);
  platform::File f;
  ArchiveEntry e;
  if (!openShared(f, path)) return fileFailed("KVDB", EG_OPEN, 1, path, platform::lastOsError());
  if (!readWhole(f, name, e)) return fileFailed("KVDB", EG_READ, 1, path, platform::lastOsError());
  out.push_back(std::move(e));
  return true;
}

}  // namespace kv::tools
