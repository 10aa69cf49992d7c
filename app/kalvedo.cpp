#include "app/kalvedo.h"

#include "app/errorsys.h"
#include "runtime/callstack.h"
#include "runtime/functions.h"
#include "runtime/lifecycle.h"
#include "runtime/memvars.h"
#include "runtime/settings.h"

namespace kv::app {

namespace {

// The language's own initialisation: the public GETLIST and the application's error handler,
// installed before any other start-up procedure and before MAIN.
void languageInit() {
  PUBLIC("GETLIST", Value::newArray());
  ERRORSYS();
}

}  // namespace

void registerModules() {
  registerRuntimeFunctions();
  registerErrorSysFunctions();
  setLanguageInit(&languageInit);
}

void MAIN() {
  KV_PROC("MAIN");
  setSetting(kSetDeleted, true);
}

}  // namespace kv::app
