#include "app/kalvedo.h"

#include <cstdio>

#include "app/core/datafiles.h"
#include "app/core/startup.h"
#include "app/displaycheck.h"
#include "app/fkalvedo.h"
#include "app/stopsignals.h"
#include "app/windowdialogs.h"
#include "runtime/error/callstack.h"
#include "runtime/format/dates.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/lifecycle.h"
#include "runtime/lang/memvars.h"
#include "runtime/lang/settings.h"
#include "ui/windowlibrary.h"

namespace kv::app {

void registerModules() {
  registerCoreModules();
  ui::registerWindowLibrary();
}

void MAIN() {
  KV_PROC("MAIN");
  // The window library has opened the window system by now.
  endDisplayGuard();
  installWindowDialogs();
  watchStopSignals();
  PUBLIC("VER", Value("1.04"));
  // The application's globals; each starts nil until its owner sets it.
  for (const char* name :
       {"aPregled", "aKorisnici", "lIzborStampaca", "nIzborStampaca", "nColorPregled",
        "lColorPregled", "nJezikSrpski", "lJezikSrpski", "nJezikHrvatski", "lJezikHrvatski"}) {
    PUBLIC(name);
  }
  setSetting(kSetDeleted, true);
  // Day, month, year with points; switching the century on widens the year to four digits,
  // so dates read and print as "DD.MM.YYYY".
  KV_LINE();
  setSetting(kSetDateFormat, Value(__SETCENTURY().asBool() ? "dd.mm.yyyy" : "dd.mm.yy"));
  __SETCENTURY(Value(true));
  // The data files are made or upgraded before any window exists.
  KV_LINE();
  INITDBF();
  const Value application = memvarGet("Application");
  send(application, "_Language", {Value(2)});
  send(application, "_Title", {Value(programTitle())});
  KV_LINE();
  send(application, "Initialize");
  // The main form: its constructor runs, then its OnCreate opens the tables.
  Cell fKalvedo = newCell(Value());
  KV_LINE();
  send(application, "CreateForm", {TFKalvedo(), Value::reference(fKalvedo)});
  KV_LINE();
  send(application, "Run");
}

int runKalvedo() {
  if (!displayNamed()) {
    std::fprintf(stderr, "%s\n", noDisplayLine(false).c_str());
    return kNoDisplayExit;
  }
  catchStopSignals();
  registerModules();
  guardDisplayOpening();
  return runProgram(&MAIN);
}

}  // namespace kv::app
