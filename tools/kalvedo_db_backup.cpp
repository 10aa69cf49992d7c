#include "tools/kalvedo_db_backup.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "engine/area/dberror.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "runtime/error/error.h"
#include "tools/kalvedo_db_archive.h"
#include "tools/kalvedo_db_check.h"
#include "tools/kalvedo_db_errortrap.h"
#include "tools/kalvedo_db_snapshot.h"

namespace kv::tools {

namespace {

namespace fs = std::filesystem;

// The end of a backup that failed, with the sentence that tells why.
struct BackupFailed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Runs `step` with errors trapped; an error raised in it ends the backup with `what` and
// the error's description.
template <typename Step>
void trapped(const std::string& what, Step step) {
  try {
    ErrorTrap trap;
    if (step()) return;
  } catch (const BreakException& b) {
    std::string text = what;
    if (const std::string why = ErrorTrap::reason(b.value); !why.empty()) text += ": " + why;
    throw BackupFailed(text + " (" + ErrorTrap::describe(b.value) + ")");
  }
  throw BackupFailed(what);
}

// Raises a failure of the archive file through the error system.
bool archiveFailed(int gen, int sub, const std::string& file, int os, const std::string& op) {
  engine::engineRaise(engine::fileError(gen, sub, file, os).in("KVDB").op(op));
  return false;
}

// The folder's entries reach the disk, so a renamed archive stays renamed after a crash.
void flushFolder(const std::string& dir) {
  int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// Removes the temporary archive unless it was renamed.
struct TempFile {
  std::string path;
  bool keep = false;
  ~TempFile() {
    if (!keep) platform::deleteFile(path);
  }
};

// Writes `entries` into the new file `path`, flushed to the disk.
void writeArchive(const std::string& path, const std::vector<ArchiveEntry>& entries) {
  platform::File f;
  trapped("the archive " + path + " cannot be created", [&] {
    return f.open(path, platform::Access::Write, platform::Share::Exclusive,
                  platform::Disposition::CreateNew) ||
           archiveFailed(EG_CREATE, kKvdbCreate, path, platform::lastOsError(), "BACKUP");
  });
  trapped("the archive " + path + " cannot be written", [&] {
    ZipWriter zip(f);
    for (const auto& e : entries)
      if (!zip.add(e)) return archiveFailed(EG_WRITE, kKvdbWrite, path, zip.osError(), zip.error());
    if (!zip.finish()) return archiveFailed(EG_WRITE, kKvdbWrite, path, zip.osError(), zip.error());
    return f.flush() || archiveFailed(EG_WRITE, kKvdbWrite, path, platform::lastOsError(), "FLUSH");
  });
}

// A table of the archive, unpacked, checked as `kalvedo-db check` checks it.
struct TableResult {
  Findings found;
  std::vector<CheckedFile> files;
};

std::string withoutFolder(std::string text, const std::string& folder) {
  for (std::size_t at; (at = text.find(folder)) != std::string::npos;)
    text.erase(at, folder.size());
  return text;
}

// Reads the archive back: every entry must come back as written; the tables are unpacked
// into a private folder and checked there.
std::vector<TableResult> readBack(const std::string& path, const std::vector<ArchiveEntry>& written,
                                  const std::vector<TableFiles>& tables) {
  std::vector<ArchiveEntry> read;
  std::string error;
  trapped("the archive " + path + " does not read back", [&] {
    bool same = readZip(path, read, error) && read.size() == written.size();
    for (std::size_t i = 0; same && i < read.size(); ++i)
      same = read[i].name == written[i].name && read[i].bytes == written[i].bytes;
    if (!same && error.empty()) error = "its files differ from the copies";
    return same || archiveFailed(EG_CORRUPTION, kKvdbArchiveCheck, path, 0, error);
  });
  std::string tmpl = (fs::temp_directory_path() / "kalvedo-backup-XXXXXX").string();
  trapped("no folder for the check of the archive", [&] {
    return ::mkdtemp(tmpl.data()) != nullptr ||
           archiveFailed(EG_CREATE, kKvdbCheckUnpack, tmpl, platform::osErrorFromErrno(errno),
                         "MKDTEMP");
  });
  const std::string folder = tmpl + "/";
  std::vector<TableResult> results;
  try {
    for (const auto& e : read) {
      platform::File f;
      const std::string file = folder + e.name;
      trapped("the archive's " + e.name + " cannot be unpacked for the check", [&] {
        return (f.open(file, platform::Access::Write, platform::Share::Exclusive,
                       platform::Disposition::CreateNew) &&
                f.writeAt(0, e.bytes.data(), e.bytes.size()) ==
                    static_cast<std::int64_t>(e.bytes.size())) ||
               archiveFailed(EG_WRITE, kKvdbCheckUnpack, file, platform::lastOsError(), "UNPACK");
      });
    }
    for (const auto& t : tables) {
      TableResult r;
      std::vector<std::string> indexes;
      for (const auto& i : t.indexes) indexes.push_back(folder + i);
      r.files = checkTableSet(folder + t.table, indexes, r.found);
      for (auto& f : r.files) f.name = withoutFolder(f.name, folder);
      for (auto& p : r.found.problems) p = withoutFolder(p, folder);
      for (auto& n : r.found.notes) n = withoutFolder(n, folder);
      results.push_back(std::move(r));
    }
  } catch (...) {
    std::error_code ec;
    fs::remove_all(tmpl, ec);
    throw;
  }
  std::error_code ec;
  fs::remove_all(tmpl, ec);
  return results;
}

}  // namespace

std::string backupName(int year, int month, int day, int hour, int minute, int second) {
  char b[64];
  std::snprintf(b, sizeof b, "kalvedo-backup-%04d%02d%02d-%02d%02d%02d.zip", year, month, day, hour,
                minute, second);
  return b;
}

int dbBackupCommand(const std::vector<std::string>& args) {
  if (args.size() > 1 || (args.size() == 1 && args[0].rfind("--", 0) == 0)) {
    std::cerr << "kalvedo-db: usage: kalvedo-db backup [DEST]\n";
    return 2;
  }
  // A file-size limit ends a write with an error instead of the process.
  ::signal(SIGXFSZ, SIG_IGN);
  const std::string dest = args.empty() ? "." : args[0];
  const platform::LocalTime now = platform::localNow();
  const std::string name =
      backupName(now.year, now.month, now.day, now.hour, now.minute, now.second);
  const std::string final = (fs::path(dest) / name).string();
  try {
    DataFiles data = listDataFiles(".");
    if (data.tables.empty())
      throw BackupFailed("there is no table (.dbf) in the data directory " +
                         fs::current_path().string());
    trapped("the archive " + final + " exists already", [&] {
      return !platform::fileExists(final) ||
             archiveFailed(EG_CREATE, kKvdbArchiveName, final, 0, "BACKUP");
    });
    std::vector<ArchiveEntry> entries;
    for (const auto& t : data.tables)
      trapped("the table " + t.table + " cannot be copied", [&] {
        return copyTable(".", t, entries, [&] {
          std::cerr << "kalvedo-db: waiting for " << t.table << ": another station is writing\n";
        });
      });
    for (const auto& o : data.others)
      trapped("the file " + o + " cannot be copied", [&] { return copyFile(".", o, entries); });

    TempFile temp{final + ".tmp"};
    writeArchive(temp.path, entries);
    std::vector<TableResult> results = readBack(temp.path, entries, data.tables);
    trapped("the archive cannot be renamed to " + final, [&] {
      return platform::renameFile(temp.path, final) ||
             archiveFailed(EG_CREATE, kKvdbArchiveName, final, platform::lastOsError(), "RENAME");
    });
    temp.keep = true;
    flushFolder(dest);

    auto size = [&](const std::string& file) {
      for (const auto& e : entries)
        if (e.name == file) return counted(e.bytes.size(), "byte");
      return std::string();
    };
    std::ostringstream text;
    std::size_t damaged = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
      const TableResult& r = results[i];
      const std::string state = r.found.clean() ? ": clean" : ": damaged";
      if (!r.found.clean()) ++damaged;
      text << r.files[0].name << " (" << r.files[0].count << ")" << state << '\n';
      if (!data.tables[i].memo.empty())
        text << data.tables[i].memo << " (" << size(data.tables[i].memo) << ")\n";
      for (std::size_t k = 1; k < r.files.size(); ++k)
        text << r.files[k].name << " (" << r.files[k].count << ")" << state << '\n';
      r.found.write(text);
    }
    for (const auto& o : data.others) text << o << " (" << size(o) << ")\n";
    text << "backup: " << final << ", " << counted(entries.size(), "file") << ", ";
    if (damaged == 0)
      text << counted(results.size(), "table") << " clean\n";
    else
      text << damaged << " of " << counted(results.size(), "table") << " damaged\n";
    std::cout << platform::cp1250ToUtf8(text.str());
    return damaged == 0 ? 0 : 1;
  } catch (const BackupFailed& f) {
    std::cerr << "kalvedo-db: backup failed: " << platform::cp1250ToUtf8(f.what()) << "\n";
    return 1;
  }
}

}  // namespace kv::tools
