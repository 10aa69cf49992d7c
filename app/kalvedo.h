#pragma once
// The work-order program's entry points: the start-up of every module, the window part's
// included, and the start procedure.
namespace kv::app {

// Registers the modules' start-up procedures and the language's own initialisation, in the
// order the runtime runs them (registerCoreModules, then the window part's). Called once
// before runProgram().
void registerModules();

// The start procedure: declares the public VER ("1.04") and the application's other globals
// (nil), hides deleted records and sets the date format "DD.MM.YYYY" with the century on;
// then creates or upgrades the data files (INITDBF) and opens them with their indexes.
void MAIN();

}  // namespace kv::app
