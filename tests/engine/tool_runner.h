#pragma once
// Runs the built companion `kalvedo-db` with a data directory as its working directory and
// answers what it printed on standard output and its exit code.
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace kvtest {

struct ToolRun {
  std::string out;
  int code = -1;
};

inline std::string binDir() {
  const char* bin = std::getenv("KV_BIN_DIR");
  return bin ? bin : KV_BIN_DIR;
}

inline ToolRun runTool(const std::string& dir, const std::string& args) {
  ToolRun r;
  std::string cmd = "cd '" + dir + "' && '" + binDir() + "/kalvedo-db' " + args + " 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int status = pclose(p);
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

}  // namespace kvtest
