// The DBF driver's table-level operations: open, create, header, flush, close, pack, zap,
// info and locks. Record-level operations are in dbfarea_records.cpp.
#include "engine/dbf/dbfarea.h"

#include <algorithm>
#include <optional>

#include "engine/area/areas.h"
#include "engine/area/drivers.h"
#include "engine/dbf/dbf_lock.h"
#include "platform/clock.h"
#include "platform/filename.h"
#include "runtime/format/dates.h"
#include "runtime/lang/lifecycle.h"
#include "runtime/lang/settings.h"

namespace kv::engine {

namespace {

bool hasDirectory(const std::string& name) {
  return name.find('/') != std::string::npos;
}

std::string joinDir(std::string dir, const std::string& name) {
  if (dir.empty()) return name;
  if (dir.back() != '/') dir += '/';
  return dir + name;
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

Status DbfArea::writeError(const std::string& file) {
  return failWith(fileError(EG_WRITE, kDbWrite, file, platform::lastOsError()));
}

Status DbfArea::readError(const std::string& file, int osCode) {
  return failWith(fileError(EG_READ, kDbRead, file, osCode));
}

Status DbfArea::open(const OpenInfo& info) {
  shared_ = info.shared;
  readOnly_ = info.readOnly;
  fullName_ = resolveDataFile(info.fileName, ".dbf");
  auto access = readOnly_ ? platform::Access::Read : platform::Access::ReadWrite;
  auto share = shared_ ? platform::Share::Shared : platform::Share::Exclusive;
  for (int tries = 1;; ++tries) {
    if (dbf_.open(fullName_, access, share, platform::Disposition::OpenExisting)) break;
    if (!retryAsked(fileError(EG_OPEN, kDbOpenTable, fullName_, platform::lastOsError())
                        .allow(kCanRetry | kCanDefault)
                        .attempt(tries)))
      return kFailure;
  }
  fullName_ = dbf_.path();  // the name on disk, whose case the memo file's name follows
  auto corrupt = [&](const std::string& file) {
    error(fileError(EG_CORRUPTION, kDbCorruption, file));
    dbf_.close();
    memo_.file().close();
    fields_.clear();
    return kFailure;
  };
  DbfLayout layout = readDbfLayout(dbf_);
  if (!layout.opens) return corrupt(fullName_);
  header_ = layout.header;
  hdrLen_ = header_.headerLength;
  recLen_ = header_.recordLength;
  recCount_ = header_.recordCount;
  fields_ = std::move(layout.fields);
  hasMemo_ = header_.hasMemo();
  if (hasMemo_) {
    memoName_ = memoNameFor(fullName_);
    for (int tries = 1;; ++tries) {
      if (memo_.file().open(memoName_, access, share, platform::Disposition::OpenExisting)) {
        memo_.reset();
        break;
      }
      if (!retryAsked(fileError(EG_OPEN, kDbOpenMemo, memoName_, platform::lastOsError())
                          .allow(kCanRetry | kCanDefault)
                          .attempt(tries))) {
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
    // The header is set right at the next flush or close, so the count does not stay behind
    // once this open is gone.
    if (recCount_ > header && !readOnly_) updated_ = true;
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

Status DbfArea::create(const OpenInfo& info) {
  if (WorkArea::create(info) != kSuccess) return kFailure;
  recLen_ = layOutNewFields(fields_);
  hdrLen_ = newHeaderLength(fields_.size());
  hasMemo_ =
      std::any_of(fields_.begin(), fields_.end(), [](const Field& f) { return f.type == 'M'; });
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
    if (!retryAsked(fileError(EG_CREATE, kDbCreateTable, fullName_, os)
                        .allow(kCanRetry | kCanDefault)
                        .attempt(tries))) {
      WorkArea::close();
      return kFailure;
    }
  }
  header_ = DbfHeader{};
  updated_ = true;
  if (writeHeader() != kSuccess) return kFailure;
  const std::vector<std::uint8_t> descriptors = encodeNewDescriptors(fields_);
  if (dbf_.writeAt(kDbfHeaderSize, descriptors.data(), descriptors.size()) !=
      static_cast<std::int64_t>(descriptors.size())) {
    return writeError(fullName_);
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
      if (!retryAsked(fileError(EG_CREATE, kDbCreateMemo, memoName_, platform::lastOsError())
                          .allow(kCanRetry | kCanDefault)
                          .attempt(tries)))
        break;
    }
    if (ok && !memo_.writeHeader()) {
      error(fileError(EG_CREATE, kDbCreateMemo, memoName_, platform::lastOsError())
                .allow(kCanDefault));
      memo_.file().close();
    }
  }
  buf_.assign(recLen_, ' ');
  loaded_ = false;
  dbfWritten_ = true;
  return goTop();
}

Status DbfArea::writeHeader() {
  header_.version = hasMemo_ ? kDbfWithMemo : kDbfPlain;
  platform::LocalTime now = platform::localNow();
  header_.year = static_cast<std::uint8_t>(now.year - 1900);
  header_.month = static_cast<std::uint8_t>(now.month);
  header_.day = static_cast<std::uint8_t>(now.day);
  header_.recordCount = recCount_;
  header_.headerLength = static_cast<std::uint16_t>(hdrLen_);
  header_.recordLength = static_cast<std::uint16_t>(recLen_);
  std::uint8_t bytes[kDbfHeaderSize];
  encodeDbfHeader(header_, bytes);
  if (dbf_.writeAt(0, bytes, kDbfHeaderSize) != static_cast<std::int64_t>(kDbfHeaderSize)) {
    return writeError(fullName_);
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

Status DbfArea::writeEofAndCut() {
  std::uint64_t end = hdrLen_ + static_cast<std::uint64_t>(recCount_) * recLen_;
  char eof = 0x1A;
  if (dbf_.writeAt(end, &eof, 1) != 1 || !dbf_.truncate(end + 1)) {
    return writeError(fullName_);
  }
  dbfWritten_ = true;
  return kSuccess;
}

Status DbfArea::commitFiles() {
  Status r = kSuccess;
  if (memo_.isOpen() && !memo_.writePendingHeader()) r = writeError(memoName_);
  // A commit the system refuses is told: what was written may not be on the disk. The flag
  // stays set, so the next commit asks again.
  if (dbfWritten_) {
    if (dbf_.flush())
      dbfWritten_ = false;
    else
      r = writeError(fullName_);
  }
  if (memo_.written) {
    if (memo_.file().flush())
      memo_.written = false;
    else
      r = writeError(memoName_);
  }
  return r;
}

Status DbfArea::flush() {
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
  return commitFiles();
}

Status DbfArea::close() {
  clearRel();
  Status r = kSuccess;
  if (dbf_.isOpen()) {
    r = goCold();
    releaseAllLocks();
    if (updated_ && !readOnly_) {
      AppendLock lock(dbf_, shared_);
      if (shared_) refreshCount();
      if (writeHeader() != kSuccess || writeEofAndCut() != kSuccess) r = kFailure;
    }
    if (commitFiles() != kSuccess) r = kFailure;
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

Status DbfArea::pack() {
  if (shared_) {
    return failWith(ErrorRecord(EG_SHARED, kDbExclusive));
  }
  if (readOnly_) return failWith(ErrorRecord(EG_READONLY, kDbReadOnly));
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

Status DbfArea::zap() {
  if (shared_) {
    return failWith(ErrorRecord(EG_SHARED, kDbExclusive));
  }
  if (readOnly_) return failWith(ErrorRecord(EG_READONLY, kDbReadOnly));
  if (goCold() != kSuccess) return kFailure;
  recCount_ = 0;
  dropReadAhead();
  if (goTo(0) != kSuccess) return kFailure;
  updated_ = true;
  if (memo_.isOpen() && !memo_.writeHeader()) {
    return writeError(memoName_);
  }
  return kSuccess;
}

Status DbfArea::info(int request, Value& out) {
  switch (request) {
    case 1:
    case 2:
      out = true;
      break;
    case 3:
      out = Value::integer(static_cast<std::int32_t>(hdrLen_));
      break;
    case 4: {
      out = Value::date(julianFromCalendar(header_.day, header_.month, header_.year + 1900));
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

Status DbfArea::lock(const LockRequest& req, bool& ok) {
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

Status DbfArea::unlock(std::uint32_t recNo) {
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
