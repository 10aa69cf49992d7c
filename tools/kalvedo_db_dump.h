#pragma once
// The table commands of the command-line companion: `struct TABLE` prints the structure
// one field a line (NAME TYPE LEN DEC); `dump TABLE [--index NTX] [--deleted]` prints the
// records one a line in index (or record) order. Tables are opened shared and read-only, so
// the tool can run beside the program. Each answers the process exit code.
#include <string>
#include <vector>

namespace kv::tools {

int dbStructCommand(const std::vector<std::string>& args);
int dbDumpCommand(const std::vector<std::string>& args);

}  // namespace kv::tools
