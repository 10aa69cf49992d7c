#pragma once
// The index of one of the application's tables as the opening procedure opens it at start-up,
// and the repair of an index file that is damaged (cut off by a power failure, a header that
// no longer reads). A damaged index is rebuilt from its table when this station can have the
// table to itself, and the damaged file is kept beside the new one; otherwise the user is told
// how to rebuild it and the program ends as it does on any unrecoverable error.
#include <string>

#include "runtime/value/value.h"

namespace kv::app {

// Opens the index `bag` (the index file bag + ".ntx") in the current work area, which holds
// the table `table` (file name with extension) under `alias`, opened shared with "DbfNtx":
// clears the area's order list and adds the index, so that its order controls the area.
// When the index fails its open as damaged (the index driver's corruption error, 32/1012):
// 1. The table is reopened exclusively in the same area, because the index is built anew
//    from the records, and no other station may write a record meanwhile or still have the
//    old index file open.
// 2. If that succeeds: the damaged file is copied to the first backup name that is free
//    (indexBackupName with 1, 2, ...), the index is built with `key` (ORDCREATE: no order
//    name, not unique), the table is opened shared again with the new index as at any start,
//    and the information box "Indeks ... je bio ostecen ..." names the backup.
// 3. If the exclusive open is refused (another station holds the table; the application's
//    handler passes that over quietly with NETERR set): the error box says that the index is
//    damaged and must be rebuilt while no other station works, and gives the command to run
//    in the data directory (reindexCommand); then the corruption error is raised again,
//    which ends the program. The table is left closed: no record is written while its index
//    is missing from the order list.
// A copy or build that fails reports through the error system; a build that stops without
// an error raises the corruption error again. Any other error of the open reaches the
// program's handler unchanged.
void OtvoriIndeks(const Value& alias, const Value& table, const Value& bag, const Value& key);

// The backup name of a damaged index file: the name with "_K" and `n` (two digits at least)
// put before its extension, in its directory and its case (platform::derivedName):
// "Nalozi.ntx" with 1 gives "Nalozi_K01.ntx", "NALOZI.NTX" "NALOZI_K01.NTX" and "nalozi.ntx"
// "nalozi_k01.ntx".
std::string indexBackupName(const std::string& indexFile, int n);

// The companion's command that rebuilds the index: "kalvedo-db reindex TABLE NTX KEY", the
// key in double quotes when it holds anything but letters, digits and underscores (a shell
// would read its parentheses).
std::string reindexCommand(const std::string& table, const std::string& indexFile,
                           const std::string& key);

}  // namespace kv::app
