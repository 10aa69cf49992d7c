// A small program for the process-level tests of the error system. The first argument picks
// what MAIN does:
//   clean      nothing (a run without errors)
//   unhandled  an open error the handler reports: Error.txt, exit code 1
//   noblock    the same error with no handler installed at all
//   zerodiv    a division by zero through the runtime; prints the quotient
//   nofunc     a call of a missing procedure; prints the call's result
//   crash      a write through a wild pointer
//   leak       keeps a runtime string alive past the end of the run
//   break      BREAK outside every sequence
//   throw      a C++ exception that no raiser turned into an error
// Every run prints "exit procedure" when the application's exit procedure runs.
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "app/core/startup.h"
#include "runtime/error/callstack.h"
#include "runtime/error/error.h"
#include "runtime/lang/lifecycle.h"

namespace {

std::string g_mode;
kv::Value* g_kept = nullptr;  // the deliberately unreleased value (still reachable, not lost)

void OTVORI() {
  KV_PROC("OTVORI");
  KV_LINE();
  kv::raiseError(kv::ErrorRecord(kv::EG_OPEN, 1001)
                     .in("DBFNTX")
                     .os(2)
                     .allow(kv::kCanDefault | kv::kCanRetry)
                     .op("DBUSEAREA")
                     .file("Nalozi.dbf"));
}

void SRUSI() {
  KV_PROC("SRUSI");
  KV_LINE();
  volatile std::uintptr_t wild = 16;  // read at run time, so the compiler cannot see the fault
  *reinterpret_cast<volatile int*>(wild) = 1;
}

void MAIN() {
  KV_PROC("MAIN");
  KV_LINE();
  if (g_mode == "unhandled" || g_mode == "noblock") {
    OTVORI();
  } else if (g_mode == "zerodiv") {
    kv::Value q = kv::zeroDivisionError(kv::Value(10), kv::Value(0));
    std::printf("quotient %d\n", q.asInt());
  } else if (g_mode == "nofunc") {
    kv::Value r = kv::noFunctionError("NEPOSTOJI");
    std::printf("result %d\n", r.asInt());
  } else if (g_mode == "crash") {
    SRUSI();
  } else if (g_mode == "leak") {
    g_kept = new kv::Value(std::string(100, 'x'));  // never released
  } else if (g_mode == "break") {
    kv::BREAK(kv::Value(1));
  } else if (g_mode == "throw") {
    throw std::runtime_error("kvar");
  }
}

void exitProcedure() {
  std::printf("exit procedure\n");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  g_mode = argc > 1 ? argv[1] : "clean";
  if (g_mode != "noblock") kv::app::registerCoreModules();
  kv::registerExitProcedure("PROBE", exitProcedure);
  return kv::runProgram(&MAIN);
}
