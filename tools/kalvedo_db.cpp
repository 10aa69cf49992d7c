// kalvedo-db, the command-line companion: runs one command inside the runtime's program
// life (so errors go through the error system: standard error, "Error.txt", exit code 1).
#include <iostream>
#include <string>
#include <vector>

#include "app/core/startup.h"
#include "runtime/lang/lifecycle.h"
#include "tools/kalvedo_db_backup.h"
#include "tools/kalvedo_db_check.h"
#include "tools/kalvedo_db_dump.h"
#include "tools/kalvedo_db_eval.h"
#include "tools/kalvedo_db_export.h"
#include "tools/kalvedo_db_reindex.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const std::vector<std::string>& args);
};

// The commands this build knows; each takes the arguments after its name.
const Command kCommands[] = {
    {"eval", kv::tools::dbEvalCommand},       {"struct", kv::tools::dbStructCommand},
    {"dump", kv::tools::dbDumpCommand},       {"check", kv::tools::dbCheckCommand},
    {"reindex", kv::tools::dbReindexCommand}, {"backup", kv::tools::dbBackupCommand},
    {"export", kv::tools::dbExportCommand},
};

const Command* g_command = nullptr;
std::vector<std::string> g_args;
int g_result = 0;

void runCommand() {
  g_result = g_command->run(g_args);
  if (g_result != 0 && kv::errorLevel() == 0) kv::setErrorLevel(g_result);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2) {
    for (const auto& c : kCommands)
      if (c.name == std::string(argv[1])) g_command = &c;
  }
  if (!g_command) {
    std::cerr << "kalvedo-db: commands:";
    for (const auto& c : kCommands) std::cerr << ' ' << c.name;
    std::cerr << "\n";
    return 2;
  }
  g_args.assign(argv + 2, argv + argc);
  kv::app::registerCoreModules();
  int code = kv::runProgram(&runCommand);
  return code != 0 ? code : g_result;
}
