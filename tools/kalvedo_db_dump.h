#pragma once
// The table commands of the command-line companion: `struct TABLE` prints the structure
// one field a line (NAME TYPE LEN DEC); `dump TABLE [--index NTX] [--deleted]` prints the
// records one a line in index (or record) order: with --index the index becomes the
// controlling order and the walk from the top follows its keys (an index that does not
// open ends the command with its error, never with a dump in record order). Tables are
// opened shared (read-only unless an index is walked), so the tool can run beside the
// program. Each answers the process exit code.
#include <string>
#include <vector>

namespace kv::tools {

int dbStructCommand(const std::vector<std::string>& args);
int dbDumpCommand(const std::vector<std::string>& args);

}  // namespace kv::tools
