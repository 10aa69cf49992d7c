#pragma once
// The files of the data directory that a backup takes, and their copies in memory.
//
// A table goes with its memo file (the table's name with ".dbt") and with every index of the
// same base name (NAME.ntx beside NAME.dbf, in any case of the letters), as the program keeps
// them. The three are copied under the table's own locks, so that no station writes to any
// of them for the moment of the copy:
//   1. the append lock of the table, waited for as every station waits for it, so appends
//      and commits of other stations pause; then
//   2. the file lock in one attempt; while another station holds a record lock it fails,
//      the append lock is let go again so that station can finish its write, and both are
//      tried anew after a short pause, until they are held (a writer never waits for the
//      backup while holding a record lock, so the two cannot wait for each other).
// A station that wants to write meanwhile waits: its record lock is retried until it gets
// it, its append for the append lock. The locks are held only while the bytes are read.
// Every other memo file or index of the directory, and "klauzula.txt", is copied as it
// stands. Failures are raised through the error system with the table driver's codes (open
// 21/1001 table, 1002 memo file, 1003 index; read 23/1010; append lock 40/1024) and answer
// false when the handler lets the copy go on.
#include <functional>
#include <string>
#include <vector>

#include "tools/kalvedo_db_archive.h"

namespace kv::tools {

struct TableFiles {
  std::string table;                 // NAME.dbf
  std::string memo;                  // NAME.dbt, empty when there is none
  std::vector<std::string> indexes;  // NAME.ntx
};

struct DataFiles {
  std::vector<TableFiles> tables;   // by name
  std::vector<std::string> others;  // memo files and indexes of no table, "klauzula.txt"
};

// The data files of the directory `dir` (names without the directory), by name.
DataFiles listDataFiles(const std::string& dir);

// Copies the table `t` of the directory `dir` with its memo file and indexes under the
// table's locks into `out`, one entry each. `waiting` is called once when the locks have not
// been obtained within a second. The copy of the table counts every whole record in the file:
// a record another station appended and has not committed yet is counted, as every station
// counts it when it reads the table.
bool copyTable(const std::string& dir, const TableFiles& t, std::vector<ArchiveEntry>& out,
               const std::function<void()>& waiting);

// Copies a file of the directory `dir` as it stands into `out`.
bool copyFile(const std::string& dir, const std::string& name, std::vector<ArchiveEntry>& out);

}  // namespace kv::tools
