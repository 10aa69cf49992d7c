#pragma once
// `kalvedo-db check TABLE [NTX...]`: checks the table file (kalvedo_db_tablecheck.h) and each
// index named (kalvedo_db_indexcheck.h) against it. Prints every problem and note on its
// own line, each starting with its file's name, then one summary line:
//   "clean: T (R records), I (K keys), ..." or
//   "damaged: P problems, N notes: T (R records), I (K keys), ..."
// The table is opened shared and read-only, so the check can run beside the program. Exit
// code 0 when nothing is damaged (notes do not count), 1 otherwise, 2 for a wrong call.
#include <string>
#include <vector>

#include "tools/kalvedo_db_findings.h"

namespace kv::tools {

int dbCheckCommand(const std::vector<std::string>& args);

// A file the check read, with what it counted in it ("3 records", "3 keys").
struct CheckedFile {
  std::string name;
  std::string count;
};

// The check of one table (resolved, with its extension) and the indexes given (likewise):
// problems and notes go to `found`; answers the table, then each index, with its count. The
// table is opened shared and read-only and closed again.
std::vector<CheckedFile> checkTableSet(const std::string& table,
                                       const std::vector<std::string>& indexes, Findings& found);

}  // namespace kv::tools
