#include "app/core/startup.h"

#include "app/core/datafiles.h"
#include "app/core/errorsys.h"
#include "app/core/settingsfile.h"
#include "engine/area/dbfunc.h"
#include "runtime/lang/functions.h"
#include "runtime/lang/lifecycle.h"
#include "runtime/lang/memvars.h"

namespace kv::app {

namespace {

// The language's own initialisation: the public GETLIST and the application's error handler,
// installed before any other start-up procedure and before MAIN.
void languageInit() {
  PUBLIC("GETLIST", Value::newArray());
  ERRORSYS();
}

}  // namespace

void registerCoreModules() {
  registerRuntimeFunctions();
  registerErrorSysFunctions();
  registerDataFileFunctions();
  registerSettingsFileFunctions();
  setLanguageInit(&languageInit);
  engine::installEngine();
}

}  // namespace kv::app
