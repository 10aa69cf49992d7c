#pragma once
// The "DBF" table driver: a table in a DBF file (its layout in engine/dbf/dbf_format.h), its
// memo texts in a DBT file beside it (engine/dbf/dbf_memo.h).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/area/workarea.h"
#include "engine/dbf/dbf_format.h"
#include "engine/dbf/dbf_memo.h"
#include "platform/file.h"

namespace kv::engine {

class DbfArea : public WorkArea {
 public:
  DbfArea();
  ~DbfArea() override;

  std::string sysName() const override { return "DBF"; }

  Status goBottom() override;
  Status goTo(std::uint32_t recNo) override;
  Status goToId(const Value& id) override;
  Status goTop() override;
  Status skip(std::int64_t n) override;
  Status skipRaw(std::int64_t n) override;

  Status append(bool releaseLocks) override;
  Status deleteRec() override;
  Status recall() override;
  Status deleted(bool& out) override;
  Status flush() override;
  Status goCold() override;
  Status goHot() override;
  Status getRec(const char*& out) override;
  Status putRec(const char* rec) override;
  Status getValue(int field, Value& out) override;
  Status getVarLen(int field, std::uint32_t& out) override;
  Status putValue(int field, const Value& v) override;
  Status recCount(std::uint32_t& out) override;
  Status recNo(std::uint32_t& out) override;

  Status open(const OpenInfo& info) override;
  Status create(const OpenInfo& info) override;
  Status close() override;
  Status info(int request, Value& out) override;

  Status pack() override;
  Status zap() override;
  Status sort(WorkArea& target, const Scope& scope, const std::vector<int>& fields,
              const std::vector<bool>& descending) override;
  Status transRec(WorkArea& target, const std::vector<std::pair<int, int>>& map) override;

  Status lock(const LockRequest& req, bool& ok) override;
  Status unlock(std::uint32_t recNo) override;

  // Facts for tools and derived drivers.
  bool isShared() const { return shared_; }
  bool isReadOnly() const { return readOnly_; }
  bool hasMemo() const { return hasMemo_; }
  std::uint32_t headerLength() const { return hdrLen_; }
  std::uint32_t recordLength() const { return recLen_; }
  const std::vector<std::uint32_t>& lockList() const { return locks_; }
  const std::string& fileName() const { return fullName_; }

  // Read-ahead for passes over the whole table in record order (index builds): while on,
  // record reads are served from chunks of consecutive records read at once, also on a
  // shared table (the pass then sees the records as they were when their chunk was read).
  // A table opened exclusively is read ahead whenever its records are read in order. A
  // record written meanwhile is written into the chunk too, so a read never answers older
  // bytes than the file holds.
  void setReadAhead(bool on);

 protected:
  // Reads the current record into the buffer when it is not loaded (lazy read).
  Status readRecord();
  // Writes the buffer as record `recNo`.
  Status writeRecord(std::uint32_t recNo);
  // Writes the 32-byte header.
  Status writeHeader();
  // Record count from the file size (shared tables).
  void refreshCount();
  // Puts 0x1A after the last record and cuts the file there.
  Status writeEofAndCut();
  // Commits the files written since the last commit to disk; a file the system could not
  // commit raises the write error with the system's code.
  Status commitFiles();
  void releaseAllLocks();
  // Raise the write error (24/1011) of `file` with the last operating-system code, or the
  // read error (23/1010) with `osCode`; both answer kFailure.
  Status writeError(const std::string& file);
  Status readError(const std::string& file, int osCode);
  // Writes one text into the memo file; answers the block used. A text the stored record
  // points to is never overwritten: only a block this change wrote is rewritten in place.
  Status writeMemo(const Field& f, std::string_view text, std::uint32_t& block);

  platform::File dbf_;
  MemoFile memo_;
  DbfHeader header_;
  std::uint32_t hdrLen_ = 0, recLen_ = 1, recCount_ = 0;
  std::uint32_t recNo_ = 0;
  bool positioned_ = false, deleted_ = false;
  std::vector<char> buf_;
  bool loaded_ = false, hot_ = false, updated_ = false, appended_ = false;
  bool hasMemo_ = false, shared_ = false, readOnly_ = false, fileLocked_ = false;
  bool dbfWritten_ = false;
  std::vector<std::uint32_t> locks_;
  std::string fullName_, memoName_;
  // The current record as the file holds it, taken when the record goes hot, so that a
  // record write cut short can put the stored bytes back.
  std::vector<char> stored_;
  // Memo blocks written since the record went hot: the stored record does not point to them
  // yet, so a shorter text of this same change may overwrite them in place.
  std::vector<std::uint32_t> freshMemo_;

 private:
  // Serves the current record from the read-ahead chunk, reading the next chunk when needed;
  // false when the record cannot be had that way (the caller reads it alone).
  bool readAheadRecord();
  // Forgets the chunk (the table is closed, cut or rewritten).
  void dropReadAhead();

  bool readAhead_ = false;
  std::vector<char> ahead_;
  std::uint32_t aheadFirst_ = 0, aheadCount_ = 0, lastRead_ = 0;
};

// Resolves a table or memo file name: adds `ext` when the name has none (in the case of the
// name, see platform::derivedName); a name without a directory is looked for in the default
// directory and then along the search path (the first directory holding the file, also under
// another case, wins; when none does the default-directory name is answered). A file found
// under another case is answered under its own name; a name matching several files that
// differ only in case is answered as given, and opening it fails naming them all.
std::string resolveDataFile(const std::string& name, const char* ext);

// The memo file beside a table: the table's name with its extension replaced by ".dbt",
// in the case of the table's name (NALOZI.DBF: NALOZI.DBT; Nalozi.dbf: Nalozi.dbt).
std::string memoNameFor(const std::string& table);

// Makes the "DBF" driver module known to the engine and registers it (start-up).
void registerDbfDriver();

}  // namespace kv::engine
