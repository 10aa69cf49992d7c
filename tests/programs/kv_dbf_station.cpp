// A second station for the engine's multi-process tests. Commands (DIR is the data
// directory):
//   append DIR TABLE N TAG    opens TABLE shared and appends N records (TAG, number, and a
//                             memo text when the table has a NOTE field), each written
//                             under its record lock, then unlocked and committed
//   hold DIR TABLE REC READY RELEASE
//                             locks record REC, creates file READY, waits for file RELEASE
//   rawlock DIR TABLE OFFSET READY RELEASE
//                             holds a lock on one byte of TABLE's file (shared open)
//   open DIR TABLE excl|shared READY RELEASE
//                             opens TABLE that way, creates READY, waits for RELEASE
//   indexed DIR TABLE N TAG FIRST NTX...
//                             opens TABLE shared with the indexes NTX...; N times appends a
//                             record (TAG, SEQ i, CHECK TAG + i) and changes one of the
//                             records 1..FIRST: record 2i - 1 for TAG "A", 2i otherwise,
//                             which gets SEQ = -record and CHECK = TAG + "u" + record. Every
//                             write is made under its record lock, then unlocked and committed
// Errors are printed as "error GEN SUB OS" on standard output; the exit code is 0 when the
// command succeeded, 2 when an error was raised.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "engine/area/areas.h"
#include "engine/area/dbfunc.h"
#include "engine/area/drivers.h"
#include "engine/area/fieldresolver.h"
#include "engine/dbf/dbfarea.h"
#include "engine/ntx/dbfntxarea.h"
#include "platform/file.h"
#include "runtime/lang/functions.h"
#include "runtime/lang/settings.h"

using namespace kv;
using namespace kv::engine;

namespace {

bool g_failed = false;

void waitFor(const std::string& file) {
  for (int i = 0; i < 30000 && !platform::fileExists(file); ++i) usleep(1000);
}

void touch(const std::string& file) {
  std::ofstream(file) << "1";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return 64;
  std::string cmd = argv[1];
  resetSettings();
  setSetting(kSetDefault, Value(argv[2]));
  registerRuntimeFunctions();
  registerDbFunctions();
  installFieldResolver();
  registerDbfDriver();
  registerDbfNtxDriver();
  RDDSETDEFAULT(Value("DBF"));
  setErrorHook([](const ErrorRecord& e) {
    std::printf("error %d %d %d\n", e.genCode, e.subCode, e.osCode);
    std::fflush(stdout);
    g_failed = true;
    return ErrorResult{ErrorAnswer::Default, Value()};
  });
  std::string table = argv[3];
  if (cmd == "append" && argc >= 6) {
    DBUSEAREA(Value(true), Value("DBF"), Value(table), Value(), Value(true));
    int n = std::atoi(argv[4]);
    std::string tag = argv[5];
    for (int i = 1; i <= n && !g_failed; ++i) {
      DBAPPEND();
      FIELDPUT(FIELDPOS(Value("TAG")), Value(tag));
      FIELDPUT(FIELDPOS(Value("SEQ")), Value(i));
      FIELDPUT(FIELDPOS(Value("CHECK")), Value(tag + std::to_string(i)));
      // Memo texts of changing length, some over several blocks, when the table has them.
      if (FIELDPOS(Value("NOTE")).asInt() > 0)
        FIELDPUT(FIELDPOS(Value("NOTE")),
                 Value(std::string(static_cast<std::size_t>(1 + (i * 37) % 1300), tag[0]) +
                       std::to_string(i)));
      DBUNLOCK();
      DBCOMMIT();
    }
  } else if (cmd == "indexed" && argc >= 8) {
    DBUSEAREA(Value(true), Value("DBFNTX"), Value(table), Value(), Value(true));
    for (int a = 7; a < argc; ++a) ORDLISTADD(Value(argv[a]));
    int n = std::atoi(argv[4]);
    std::string tag = argv[5];
    int first = std::atoi(argv[6]);
    for (int i = 1; i <= n && !g_failed; ++i) {
      DBAPPEND();
      FIELDPUT(FIELDPOS(Value("TAG")), Value(tag));
      FIELDPUT(FIELDPOS(Value("SEQ")), Value(i));
      FIELDPUT(FIELDPOS(Value("CHECK")), Value(tag + std::to_string(i)));
      DBUNLOCK();
      DBCOMMIT();
      int r = 2 * i - (tag == "A" ? 1 : 0);
      if (r > first) continue;
      DBGOTO(Value(r));
      // The other station may hold this record for a moment (its own append never does).
      bool locked = false;
      for (int tries = 0; tries < 5000 && !(locked = DBRLOCK(Value(r)).asBool()); ++tries)
        usleep(1000);
      if (!locked) {
        std::printf("record %d not locked\n", r);
        g_failed = true;
        break;
      }
      FIELDPUT(FIELDPOS(Value("SEQ")), Value(-r));
      FIELDPUT(FIELDPOS(Value("CHECK")), Value(tag + "u" + std::to_string(r)));
      DBUNLOCK();
      DBCOMMIT();
    }
  } else if (cmd == "hold" && argc >= 7) {
    DBUSEAREA(Value(true), Value("DBF"), Value(table), Value(), Value(true));
    bool ok = DBRLOCK(Value(std::atoi(argv[4]))).asBool();
    std::printf("locked %d\n", ok ? 1 : 0);
    std::fflush(stdout);
    touch(argv[5]);
    waitFor(argv[6]);
  } else if (cmd == "rawlock" && argc >= 7) {
    platform::File f;
    bool ok = f.open(resolveDataFile(table, ".dbf"), platform::Access::ReadWrite,
                     platform::Share::Shared, platform::Disposition::OpenExisting) &&
              f.lock(std::strtoull(argv[4], nullptr, 10), 1);
    std::printf("locked %d\n", ok ? 1 : 0);
    std::fflush(stdout);
    touch(argv[5]);
    waitFor(argv[6]);
  } else if (cmd == "open" && argc >= 7) {
    bool shared = std::string(argv[4]) == "shared";
    DBUSEAREA(Value(true), Value("DBF"), Value(table), Value(), Value(shared));
    touch(argv[5]);
    waitFor(argv[6]);
  } else {
    return 64;
  }
  closeAllAreas();
  return g_failed ? 2 : 0;
}
