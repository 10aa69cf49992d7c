#pragma once
// `kalvedo-db reindex TABLE NTX KEY`: builds the index NTX anew from the table with the key
// expression KEY, through the engine's order creation in an exclusively opened work area
// (so no station may have the table open). Prints one line: "NTX: built from N records, key KEY".
// Exit code 0 on success, 1 when the table cannot be opened or the index not built (the error goes
// through the error system), 2 for a wrong call.
#include <string>
#include <vector>

namespace kv::tools {

int dbReindexCommand(const std::vector<std::string>& args);

}  // namespace kv::tools
