#pragma once
// `kalvedo-db export TABLE [--output FILE] [--deleted]`: the table as CSV for spreadsheets
// (RFC 4180: fields separated by commas, records ended by CR LF, a field holding a comma, a
// double quote, CR or LF put in double quotes with its quotes doubled). The text is UTF-8
// with a byte-order mark, so the letters of the table's code page show right in spreadsheet
// programs on either system. The first row holds the field names; then one row per record
// in record order:
//   character  the text without trailing blanks
//   number     with a decimal point and the field's decimals ("12.50", "-3"), empty when blank
//   date       ISO "2013-02-13", empty when blank
//   logical    "true" / "false"
//   memo       the text, always quoted, its line breaks (CR LF) kept
// Deleted records are left out, unless --deleted, which adds a last column "DELETED"
// ("_DELETED" when the table has a field of that name) holding "true" or "false".
// The table is opened shared and read-only, so the export can run beside the program; its
// open error goes through the error system. The CSV goes to standard output, or with
// --output to FILE, written whole and flushed (a file that cannot be written is raised as a
// create or write error, subsystem "KVDB"), followed by the line "FILE: N records".
// Exit code 0 on success, 1 on failure, 2 for a wrong call.
#include <string>
#include <vector>

#include "engine/area/workarea.h"

namespace kv::tools {

int dbExportCommand(const std::vector<std::string>& args);

// The CSV of the table in `wa` (see above) in `out`, UTF-8 with its byte-order mark; answers
// the status of the first failure and the number of records written in `records`.
int writeCsv(engine::WorkArea& wa, bool withDeleted, std::string& out, std::size_t& records);

}  // namespace kv::tools
