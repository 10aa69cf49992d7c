// The DBF driver's table-level operations: open, create, header, flush, close, pack, zap,
// info and locks. Record-level operations are in dbfarea_records.cpp.
#include "engine/dbf/dbfarea.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "engine/area/areas.h"
#include "engine/area/drivers.h"
#include "engine/dbf/dbf_lock.h"
#include "engine/dbf/fieldconv.h"
#include "platform/clock.h"
#include "platform/filename.h"
#include "runtime/lang/lifecycle.h"
#include "runtime/lang/settings.h"

namespace kv::engine {

namespace {

std::uint32_t le32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t le16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
void put32(unsigned char* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
void put16(unsigned char* p, std::uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}

bool hasDirectory(const std::string& name) {
  return name.find('/') != std::string::npos;
}

std::string joinDir(std::string dir, const std::string& name) {
  if (dir.empty()) return name;
  if (dir.back() != '/') dir += '/';
  return dir + name;
}

// Width the engine uses for a field of a type.
int usedWidth(char type, int width) {
  switch (type) {
    case 'D':
      return 8;
    case 'L':
      return 1;
    case 'M':
      return 10;
    default:
      return width;
  }
}

std::unique_ptr<WorkArea> makeDbf() {
  return std::make_unique<DbfArea>();
}

}  // namespace

std::string resolveDataFile(const std::string& name, const char* ext) {
  std::string n = platform::withDefaultExtension(name, ext);
  // A file that differs from the name only in case is answered under its own name, so that
  // the names derived from it (the memo file) follow its case. Several such files stop the
  // search at their directory: the open then fails naming them all.
  auto found = [](const std::string& cand) -> std::optional<std::string> {
    if (!platform::fileExists(cand)) return std::nullopt;
    return platform::existingName(cand);
  };
  if (hasDirectory(n)) return found(n).value_or(n);
  std::string first = joinDir(setText(kSetDefault), n);
  if (auto f = found(first)) return *f;
  std::string path = setText(kSetPath);
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find_first_of(",;", start);
    if (end == std::string::npos) end = path.size();
    std::string dir = path.substr(start, end - start);
    while (!dir.empty() && dir.front() == ' ') dir.erase(dir.begin());
    while (!dir.empty() && dir.back() == ' ') dir.pop_back();
    if (!dir.empty()) {
      if (auto f = found(joinDir(dir, n))) return *f;
    }
    start = end + 1;
  }
  return first;
}

void registerDbfDriver() {
  addDriverModule("DBF", "", makeDbf);
  RDDREGISTER("DBF", 1);
}

DbfArea::DbfArea() = default;
DbfArea::~DbfArea() = default;

int DbfArea::raiseFileError(int gen, int sub, int flags, int osCode, const std::string& file,
                            int tries) {
  ErrorResult r = error(fileErrorSpec(gen, sub, file, osCode, flags, tries));
  return r.answer == ErrorAnswer::Retry ? -1 : kFailure;
}

int DbfArea::open(const OpenInfo& info) {
  shared_ = info.shared;
  readOnly_ = info.readOnly;
  fullName_ = resolveDataFile(info.fileName, ".dbf");
  auto access = readOnly_ ? platform::Access::Read : platform::Access::ReadWrite;
  auto share = shared_ ? platform::Share::Shared : platform::Share::Exclusive;
  for (int tries = 1;; ++tries) {
    if (dbf_.open(fullName_, access, share, platform::Disposition::OpenExisting)) break;
    if (raiseFileError(EG_OPEN, 1001, kCanRetry | kCanDefault, platform::lastOsError(), fullName_,
                       tries) != -1)
      return kFailure;
  }
  fullName_ = dbf_.path();  // the name on disk, whose case the memo file's name follows
  auto corrupt = [&](const std::string& file) {
    raiseFileError(EG_CORRUPTION, 1012, 0, 0, file);
    dbf_.close();
    memo_.file().close();
    fields_.clear();
    return kFailure;
  };
  if (dbf_.readAt(0, header_, 32) != 32 || (header_[0] != 0x03 && header_[0] != 0x83))
    return corrupt(fullName_);
  hdrLen_ = le16(header_ + 8);
  recLen_ = le16(header_ + 10);
  recCount_ = le32(header_ + 4);
  std::int64_t size = dbf_.size();
  // A header that claims more bytes than the file has, or no room for one field or one
  // record byte, cannot be a table.
  if (size < 0 || hdrLen_ < 33 || hdrLen_ > static_cast<std::uint64_t>(size) || recLen_ < 1)
    return corrupt(fullName_);
  std::uint32_t count = (hdrLen_ - 32) / 32;
  std::vector<unsigned char> desc(static_cast<std::size_t>(count) * 32);
  if (dbf_.readAt(32, desc.data(), desc.size()) != static_cast<std::int64_t>(desc.size()))
    return corrupt(fullName_);
  std::uint32_t offset = 1;
  fields_.clear();
  for (std::uint32_t i = 0; i < count; ++i) {
    const unsigned char* d = desc.data() + i * 32;
    if (d[0] == 0x0D) break;  // terminator of a header longer than its fields need
    Field f;
    std::size_t len = 0;
    while (len < 11 && d[len] != 0) ++len;
    f.name =
        upperName(std::string(reinterpret_cast<const char*>(d), std::min<std::size_t>(len, 10)));
    f.type = static_cast<char>(d[11]);
    switch (f.type) {
      case 'C':
        f.width = d[16] + 256 * d[17];
        break;
      case 'N':
        f.width = d[16];
        f.dec = d[17];
        break;
      case 'D':
        f.width = 8;
        break;
      case 'L':
        f.width = 1;
        break;
      case 'M':
        f.width = 10;
        break;
      default:
        return corrupt(fullName_);
    }
    f.offset = offset;
    offset += static_cast<std::uint32_t>(usedWidth(f.type, f.width));
    fields_.push_back(std::move(f));
  }
  // Every field must lie inside the record, or reading it would leave the buffer.
  if (fields_.empty() || offset > recLen_) return corrupt(fullName_);
  hasMemo_ = header_[0] == 0x83;
  if (hasMemo_) {
    memoName_ = memoNameFor(fullName_);
    for (int tries = 1;; ++tries) {
      if (memo_.file().open(memoName_, access, share, platform::Disposition::OpenExisting)) {
        memo_.reset();
        break;
      }
      if (raiseFileError(EG_OPEN, 1002, kCanRetry | kCanDefault, platform::lastOsError(), memoName_,
                         tries) != -1) {
        dbf_.close();
        fields_.clear();
        return kFailure;
      }
    }
  }
  if (WorkArea::open(info) != kSuccess) {
    dbf_.close();
    memo_.file().close();
    fields_.clear();
    return kFailure;
  }
  if (shared_) {
    refreshCount();
  } else {
    // Shared stations write whole records before they rewrite the header, so a station that
    // stopped in between leaves more records in the file than the header counts. Those
    // records are kept: the exclusive count is never below what the file holds, or the next
    // cut at close would drop them.
    std::uint32_t header = recCount_;
    refreshCount();
    recCount_ = std::max(recCount_, header);
  }
  buf_.assign(recLen_, ' ');
  loaded_ = false;
  setEventBlocks(takePendingEvents());
  runEvent(kEvOpen);
  if (goTop() != kSuccess) {
    close();  // a failed open leaves no open file and no alias behind
    return kFailure;
  }
  return kSuccess;
}

int DbfArea::create(const OpenInfo& info) {
  if (WorkArea::create(info) != kSuccess) return kFailure;
  hasMemo_ = false;
  std::vector<unsigned char> head(32 + 32 * fields_.size() + 3, 0);
  std::uint32_t offset = 1;
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    Field& f = fields_[i];
    unsigned char* d = head.data() + 32 + 32 * i;
    std::memcpy(d, f.name.data(), std::min<std::size_t>(f.name.size(), 10));
    char letter = f.type;
    switch (f.type) {
      case 'N':
        d[16] = static_cast<unsigned char>(f.width);
        d[17] = static_cast<unsigned char>(f.dec);
        break;
      case 'D':
        f.width = 8, d[16] = 8;
        break;
      case 'L':
        f.width = 1, d[16] = 1;
        break;
      case 'C':
        d[16] = static_cast<unsigned char>(f.width % 256);
        d[17] = static_cast<unsigned char>(f.width / 256);
        break;
      case 'M':
        f.width = 10, d[16] = 10;
        hasMemo_ = true;
        break;
      default:
        letter = 'U';
        d[16] = static_cast<unsigned char>(f.width);
        d[17] = static_cast<unsigned char>(f.dec);
        break;
    }
    d[11] = static_cast<unsigned char>(letter);
    f.offset = offset;
    offset += static_cast<std::uint32_t>(f.width);
  }
  recLen_ = offset;
  hdrLen_ = static_cast<std::uint32_t>(32 * fields_.size() + 34);
  recCount_ = 0;
  shared_ = false;
  readOnly_ = false;
  // A new table goes to the default directory (never along the search path).
  fullName_ = platform::withDefaultExtension(info.fileName, ".dbf");
  if (!hasDirectory(fullName_)) fullName_ = joinDir(setText(kSetDefault), fullName_);
  for (int tries = 1;; ++tries) {
    bool existed = platform::fileExists(fullName_);
    if (dbf_.open(fullName_, platform::Access::ReadWrite, platform::Share::Exclusive,
                  platform::Disposition::CreateAlways)) {
      fullName_ = dbf_.path();  // an existing file under another case was taken over
      break;
    }
    int os = platform::lastOsError();
    // Only a file this attempt brought into being is removed: an existing table that
    // another station holds open (code 32) must survive a failed create.
    if (!existed) platform::deleteFile(fullName_);
    if (raiseFileError(EG_CREATE, 1004, kCanRetry | kCanDefault, os, fullName_, tries) != -1) {
      WorkArea::close();
      return kFailure;
    }
  }
  std::memset(header_, 0, sizeof header_);
  std::size_t n = head.size();
  head[n - 3] = 0x0D;
  head[n - 2] = 0x00;
  head[n - 1] = 0x1A;
  updated_ = true;
  if (writeHeader() != kSuccess) return kFailure;
  if (dbf_.writeAt(32, head.data() + 32, n - 32) != static_cast<std::int64_t>(n - 32)) {
    raiseFileError(EG_WRITE, 1011, 0, platform::lastOsError(), fullName_);
    return kFailure;
  }
  if (hasMemo_) {
    memoName_ = memoNameFor(fullName_);
    bool ok = false;
    for (int tries = 1;; ++tries) {
      if (memo_.file().open(memoName_, platform::Access::ReadWrite, platform::Share::Exclusive,
                            platform::Disposition::CreateAlways)) {
        ok = true;
        break;
      }
      if (raiseFileError(EG_CREATE, 1005, kCanRetry | kCanDefault, platform::lastOsError(),
                         memoName_, tries) != -1)
        break;
    }
    if (ok && !memo_.writeHeader()) {
      raiseFileError(EG_CREATE, 1005, kCanDefault, platform::lastOsError(), memoName_);
      memo_.file().close();
    }
  }
  buf_.assign(recLen_, ' ');
  loaded_ = false;
  dbfWritten_ = true;
  return goTop();
}

int DbfArea::writeHeader() {
  header_[0] = hasMemo_ ? 0x83 : 0x03;
  platform::LocalTime now = platform::localNow();
  header_[1] = static_cast<unsigned char>(now.year - 1900);
  header_[2] = static_cast<unsigned char>(now.month);
  header_[3] = static_cast<unsigned char>(now.day);
  put32(header_ + 4, recCount_);
  put16(header_ + 8, hdrLen_);
  put16(header_ + 10, recLen_);
  std::memset(header_ + 12, 0, 16);
  std::memset(header_ + 30, 0, 2);
  if (dbf_.writeAt(0, header_, 32) != 32) {
    raiseFileError(EG_WRITE, 1011, 0, platform::lastOsError(), fullName_);
    return kFailure;
  }
  updated_ = false;
  dbfWritten_ = true;
  return kSuccess;
}

void DbfArea::refreshCount() {
  std::int64_t size = dbf_.size();
  if (size < 0 || static_cast<std::uint64_t>(size) < hdrLen_ || recLen_ == 0) {
    recCount_ = 0;
    return;
  }
  std::uint64_t n = (static_cast<std::uint64_t>(size) - hdrLen_) / recLen_;
  recCount_ = n > 0xFFFFFFFFULL ? 0xFFFFFFFFU : static_cast<std::uint32_t>(n);
}

int DbfArea::writeEofAndCut() {
  std::uint64_t end = hdrLen_ + static_cast<std::uint64_t>(recCount_) * recLen_;
  char eof = 0x1A;
  if (dbf_.writeAt(end, &eof, 1) != 1 || !dbf_.truncate(end + 1)) {
    raiseFileError(EG_WRITE, 1011, 0, platform::lastOsError(), fullName_);
    return kFailure;
  }
  dbfWritten_ = true;
  return kSuccess;
}

void DbfArea::commitFiles() {
  if (memo_.isOpen() && !memo_.writePendingHeader())
    raiseFileError(EG_WRITE, 1011, 0, platform::lastOsError(), memoName_);
  if (dbfWritten_) {
    dbf_.flush();
    dbfWritten_ = false;
  }
  if (memo_.written) {
    memo_.file().flush();
    memo_.written = false;
  }
}

int DbfArea::flush() {
  if (goCold() != kSuccess) return kFailure;
  if (updated_ && !readOnly_) {
    if (shared_) {
      AppendLock lock(dbf_, true);
      refreshCount();
      if (writeHeader() != kSuccess) return kFailure;
    } else {
      if (writeEofAndCut() != kSuccess || writeHeader() != kSuccess) return kFailure;
    }
  }
  commitFiles();
  return kSuccess;
}

int DbfArea::close() {
  clearRel();
  int r = kSuccess;
  if (dbf_.isOpen()) {
    r = goCold();
    releaseAllLocks();
    if (updated_ && !readOnly_) {
      AppendLock lock(dbf_, shared_);
      if (shared_) refreshCount();
      if (writeHeader() != kSuccess || writeEofAndCut() != kSuccess) r = kFailure;
    }
    commitFiles();
    dropReadAhead();
    dbf_.close();
    memo_.file().close();
    runEvent(kEvClose);
  }
  buf_.clear();
  locks_.clear();
  WorkArea::close();
  return r;
}

int DbfArea::pack() {
  if (shared_) {
    ErrorSpec e;
    e.genCode = EG_SHARED;
    e.subCode = 1023;
    error(e);
    return kFailure;
  }
  if (readOnly_) return raiseFileError(EG_READONLY, 1025, 0, 0, ""), kFailure;
  if (goCold() != kSuccess) return kFailure;
  updated_ = true;
  std::uint32_t k = 0;
  std::uint32_t count = recCount_;
  for (std::uint32_t j = 1; j <= count; ++j) {
    if (goTo(j) != kSuccess || readRecord() != kSuccess) return kFailure;
    if (deleted_) continue;
    ++k;
    if (k != j && writeRecord(k) != kSuccess) return kFailure;
  }
  recCount_ = k;
  updated_ = true;
  dropReadAhead();
  return goTo(1);
}

int DbfArea::zap() {
  if (shared_) {
    ErrorSpec e;
    e.genCode = EG_SHARED;
    e.subCode = 1023;
    error(e);
    return kFailure;
  }
  if (readOnly_) return raiseFileError(EG_READONLY, 1025, 0, 0, ""), kFailure;
  if (goCold() != kSuccess) return kFailure;
  recCount_ = 0;
  dropReadAhead();
  if (goTo(0) != kSuccess) return kFailure;
  updated_ = true;
  if (memo_.isOpen() && !memo_.writeHeader()) {
    raiseFileError(EG_WRITE, 1011, 0, platform::lastOsError(), memoName_);
    return kFailure;
  }
  return kSuccess;
}

int DbfArea::info(int request, Value& out) {
  switch (request) {
    case 1:
    case 2:
      out = true;
      break;
    case 3:
      out = Value::integer(static_cast<std::int32_t>(hdrLen_));
      break;
    case 4: {
      int y = header_[1] + 1900, m = header_[2], d = header_[3];
      out = Value::date(julianFromYmd(y, m, d));
      break;
    }
    case 7:
      out = Value::integer(static_cast<std::int32_t>(recLen_));
      break;
    case 8: {
      out = Value::newArray();
      for (auto n : locks_) out.arr()->items.push_back(Value::number(n));
      break;
    }
    case 9:
      out = Value(".dbf");
      break;
    case 20:
      out = fileLocked_;
      break;
    case 23:
      out = Value::integer(dbf_.fd());
      break;
    case 31:
      out = Value::integer(static_cast<std::int32_t>(locks_.size()));
      break;
    case 32:
      out = hot_;
      break;
    case 36:
      out = shared_;
      break;
    case 101:
      out = Value("3.19");
      break;
    default:
      return WorkArea::info(request, out);
  }
  return kSuccess;
}

void DbfArea::releaseAllLocks() {
  if (!shared_) return;
  for (auto n : locks_) netRecordUnlock(dbf_, n);
  locks_.clear();
  if (fileLocked_) {
    netFileUnlock(dbf_);
    fileLocked_ = false;
  }
}

int DbfArea::lock(const LockRequest& req, bool& ok) {
  ok = false;
  if (goCold() != kSuccess) return kFailure;
  if (req.kind == 3) {
    if (!shared_ || fileLocked_) {
      ok = true;
      return kSuccess;
    }
    for (auto n : locks_) netRecordUnlock(dbf_, n);
    locks_.clear();
    ok = netFileLock(dbf_);
    fileLocked_ = ok;
    loaded_ = false;
    return kSuccess;
  }
  std::uint32_t n = req.recNo ? req.recNo : recNo_;
  if (shared_ && n > recCount_) refreshCount();
  if (n == 0 || n > recCount_) return kSuccess;  // a failed lock, no error
  if (!shared_ || std::find(locks_.begin(), locks_.end(), n) != locks_.end()) {
    ok = true;
    return kSuccess;
  }
  if (req.kind == 1) {
    if (fileLocked_) releaseAllLocks();
    ok = netRecordLock(dbf_, n);
    if (ok) {
      for (auto o : locks_) netRecordUnlock(dbf_, o);
      locks_.assign(1, n);
    }
  } else {
    ok = netRecordLock(dbf_, n);
    if (ok) locks_.push_back(n);
  }
  // Whatever the outcome, the next use re-reads the record, so another station's changes
  // are seen.
  if (positioned_) {
    loaded_ = false;
  }
  return kSuccess;
}

int DbfArea::unlock(std::uint32_t recNo) {
  if (!shared_) return kSuccess;
  if (!locks_.empty()) {
    if (goCold() != kSuccess) return kFailure;
    if (recNo == 0) {
      for (auto n : locks_) netRecordUnlock(dbf_, n);
      locks_.clear();
    } else {
      auto it = std::find(locks_.begin(), locks_.end(), recNo);
      if (it != locks_.end()) {
        netRecordUnlock(dbf_, recNo);
        locks_.erase(it);
      }
    }
  } else if (fileLocked_) {
    if (goCold() != kSuccess) return kFailure;
    netFileUnlock(dbf_);
    fileLocked_ = false;
  }
  return kSuccess;
}

std::string memoNameFor(const std::string& table) {
  return platform::derivedName(table, "", ".dbt");
}

}  // namespace kv::engine
