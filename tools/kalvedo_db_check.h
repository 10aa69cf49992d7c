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

namespace kv::tools {

int dbCheckCommand(const std::vector<std::string>& args);

}  // namespace kv::tools
