#pragma once
// The work-order application's entry points.
namespace kv::app {

// Registers the modules' start-up procedures and the language's own initialisation, in the
// order the runtime runs them. Called once before runProgram().
void registerModules();

// The start procedure: global state, settings, data files, main window, message loop.
void MAIN();

}  // namespace kv::app
