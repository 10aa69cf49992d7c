// A second station of the program's data files for the multi-process tests of the order
// writers. It starts as the program does (the core's modules, the runtime's program life),
// makes and opens the data files as the main window does, and then (DIR is the data directory,
// READY a file it creates once its tables are open, GO a file it waits for before it writes):
//   claim DIR FIRST LAST TAG READY GO
//       saves the new orders FIRST..LAST through the key guard: each one's number, customer
//       TAG; prints "appended N exists M" at the end
//   hold DIR NUMBER READY RELEASE
//       locks the record of order NUMBER, creates READY, waits for RELEASE, then unlocks
// Exit code 0, or 1 through the error handler.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/core/datafiles.h"
#include "app/core/startup.h"
#include "app/core/uniqueappend.h"
#include "engine/area/dbfunc.h"
#include "platform/file.h"
#include "runtime/format/numfmt.h"
#include "runtime/lang/lifecycle.h"
#include "runtime/lang/settings.h"

using namespace kv;
using namespace kv::engine;

namespace {

std::vector<std::string> g_args;

void waitFor(const std::string& file) {
  for (int i = 0; i < 60000 && !platform::fileExists(file); ++i) usleep(1000);
}

void touch(const std::string& file) {
  std::ofstream(file) << "1";
}

void claim() {
  const int first = std::atoi(g_args[2].c_str()), last = std::atoi(g_args[3].c_str());
  const std::string tag = g_args[4];
  touch(g_args[5]);
  waitFor(g_args[6]);
  int appended = 0, exists = 0;
  for (int n = first; n <= last; ++n) {
    const Value number = STRZERO(Value(n), Value(5));
    const app::KeyAppend r = app::appendIfKeyFree(Value("Nalozi"), "Nalozi.dbf", number, [&] {
      app::REC_LOCK(Value(0), Value("Nalozi"));
      FIELDPUT(FIELDPOS(Value("BrNal")), number);
      FIELDPUT(FIELDPOS(Value("Korisnik")), Value(tag));
      DBUNLOCK();
      DBCOMMIT();
    });
    (r == app::KeyAppend::Appended ? appended : exists)++;
  }
  std::printf("appended %d exists %d\n", appended, exists);
}

void hold() {
  const Value number = STRZERO(Value(std::atoi(g_args[2].c_str())), Value(5));
  DBSELECTAREA(Value("Nalozi"));
  if (!DBSEEK(number).asBool() || !DBRLOCK().asBool()) {
    std::printf("not held\n");
    return;
  }
  touch(g_args[3]);
  waitFor(g_args[4]);
  DBUNLOCK();
}

void MAIN() {
  setSetting(kSetDeleted, Value(true));
  if (chdir(g_args[1].c_str()) != 0) return;
  app::INITDBF();
  app::OtvoriBaze();
  if (g_args[0] == "claim" && g_args.size() >= 7) claim();
  if (g_args[0] == "hold" && g_args.size() >= 5) hold();
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) g_args.emplace_back(argv[i]);
  if (g_args.size() < 2) return 64;
  app::registerCoreModules();
  return runProgram(&MAIN);
}
