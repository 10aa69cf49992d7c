#pragma once
// Text forms of a table for the command-line companion: its structure, one field a line
// ("NAME TYPE LEN DEC"), and its records, one a line: the record number, "*" for a deleted
// record or a blank, then the fields separated by "|": character fields without trailing
// blanks, dates as YYYYMMDD (empty for the empty date), logicals T/F, numbers as the stored
// text trimmed, memos with CR and LF written as \r and \n (and a backslash as \\).
#include <ostream>

#include "engine/area/workarea.h"

namespace kv::engine {

// Writes the structure of the table in `wa`.
void writeStructure(WorkArea& wa, std::ostream& out);
// Writes the records of `wa` from the top in its current order; deleted records are
// included only when `withDeleted` is true. Answers the status of the first failure.
Status writeRecords(WorkArea& wa, std::ostream& out, bool withDeleted);

}  // namespace kv::engine
