#pragma once
// `kalvedo-db backup [DEST]`, run in the data directory: writes one ZIP archive
// "kalvedo-backup-YYYYMMDD-HHMMSS.zip" (local time) into the folder DEST (default the current
// one) with every table, memo file and index of the data directory and "klauzula.txt" when
// present. Other stations may go on working: each table is copied with its memo file and
// indexes under the table's locks (kalvedo_db_snapshot.h), so the three agree with each
// other; different tables are copied one after the other.
//
// The archive is written under the final name + ".tmp" in DEST, flushed to the disk, read
// back (every entry must come back with the bytes copied, and every table with its indexes
// passes the check of `kalvedo-db check`), and only then renamed to its final name. Prints
// one line per file ("NAME (N records): clean", "NAME (N bytes)", ...), the check's problems
// of a damaged table, and a summary line "backup: PATH, N files, T tables clean" (or
// "..., D of T tables damaged"). An archive of damaged tables is kept (it is a true copy
// of what the data directory holds), but the exit code is 1.
//
// Failures (a table another station holds exclusively, a DEST that cannot be written, a
// full disk, an archive that does not read back) are raised through the error system, then
// told in one line "kalvedo-db: backup failed: ..." on standard error; the temporary file
// is removed, so no half-written archive is ever left under the final name. Exit code 0
// when all is well, 1 otherwise, 2 for a wrong call.
#include <string>
#include <vector>

namespace kv::tools {

int dbBackupCommand(const std::vector<std::string>& args);

// The archive's name for a moment of local time: "kalvedo-backup-20130213-090502.zip".
std::string backupName(int year, int month, int day, int hour, int minute, int second);

}  // namespace kv::tools
