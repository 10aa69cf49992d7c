#include "app/kalvedo.h"

#include "app/core/datafiles.h"
#include "app/core/startup.h"
#include "runtime/error/callstack.h"
#include "runtime/format/dates.h"
#include "runtime/lang/memvars.h"
#include "runtime/lang/settings.h"

namespace kv::app {

void registerModules() {
  registerCoreModules();
}

void MAIN() {
  KV_PROC("MAIN");
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
  KV_LINE();
  INITDBF();
  // Until the main window exists, MAIN opens the tables and their indexes itself; the main
  // window's creation handler takes this over.
  KV_LINE();
  OtvoriBaze();
}

}  // namespace kv::app
