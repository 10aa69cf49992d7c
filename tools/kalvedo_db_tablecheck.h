#pragma once
// The structure of a DBF table file, checked from its bytes alone (the table need not open):
//   - the 32-byte header can be read and its version byte is 0x03 or 0x83;
//   - the header length fits the file and matches the field descriptors: 32 + 32 x fields
//     + 1 or + 2 (the 0x0D terminator, optionally followed by one zero byte); more bytes
//     after the terminator are only a note;
//   - every descriptor has a name, a known type letter and a sound width (date 8, logical 1,
//     memo 10, decimals below the width of a number), and the terminator stands right after
//     the last one;
//   - the record length is 1 + the sum of the field widths;
//   - a memo field goes with version 0x83 and a memo file beside the table;
//   - the file holds exactly the counted records: header length + count x record length,
//     optionally followed by the one end byte; fewer bytes (a cut file) or more than one
//     byte more (uncounted or partial records) is damage;
//   - every record's deletion flag is a blank or "*".
// Problems and notes go to `out` under the file's name. Only reads; raises no errors.
#include <cstdint>
#include <string>

#include "tools/kalvedo_db_findings.h"

namespace kv::tools {

// What the check learnt about the table.
struct TableFacts {
  // The engine can open the table (version, header length, descriptors and memo file are
  // good enough), so its records can be read for the index checks.
  bool openable = false;
  std::uint32_t headerLength = 0;
  std::uint32_t recordLength = 0;
  std::uint32_t headerCount = 0;  // record count in the header
  std::uint32_t fileRecords = 0;  // whole records in the file
};

// Checks the table file `path` (already resolved, with its extension). A file that cannot
// be opened is a problem too.
TableFacts checkTableFile(const std::string& path, Findings& out);

}  // namespace kv::tools
