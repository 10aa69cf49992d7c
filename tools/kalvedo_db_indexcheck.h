#pragma once
// An NTX index checked against its table:
//   - the file's structure: header, every page, the order of the keys and the free-page
//     list (ntx::checkNtx);
//   - the keys against the records: the order's key expression (and FOR condition) is
//     evaluated for every record of the table, deleted ones included, with the table's work
//     area selected, and converted to key bytes. Every record whose FOR condition holds must
//     be in the index exactly once with that key (a unique order: every key value exactly
//     once, on a record that has it); a record whose condition is false must be absent; no
//     key may point at record 0 or past the table's last record.
// A damaged file, an expression that does not compile, yields a value no key can be made of
// or raises an error while a record is evaluated: all are problems, never a stop of the
// program. At most kMaxRecordProblems record-level problems are listed, then their count.
#include <string>

#include "engine/area/workarea.h"
#include "tools/kalvedo_db_findings.h"

namespace kv::tools {

constexpr int kMaxRecordProblems = 50;

// Checks the index file `path` (resolved, with its extension). `table` is the work area of
// the table opened shared and read-only, or null when the table cannot be opened (then only
// the structure is checked). Answers the number of keys read from the index.
std::size_t checkIndexFile(const std::string& path, engine::WorkArea* table, Findings& out);

}  // namespace kv::tools
