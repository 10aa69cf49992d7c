#pragma once
// Runs the built companion `kalvedo-db` in a data directory (its working directory) through
// the shared child-process runner; answers what it printed on standard output and its exit
// code.
#include <cstdlib>
#include <string>
#include <vector>

#include "support/process_run.h"

namespace kvtest {

struct ToolRun {
  std::string out;
  int code = -1;
};

inline ToolRun runTool(const std::string& dir, std::vector<std::string> args) {
  const char* bin = std::getenv("KV_BIN_DIR");
  Outcome o =
      runProgramIn(dir, std::string(bin ? bin : KV_BIN_DIR) + "/kalvedo-db", std::move(args));
  return {o.out, o.exitCode};
}

}  // namespace kvtest
