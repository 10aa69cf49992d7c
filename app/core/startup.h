#pragma once
// The start-up of everything below the windows: the runtime's functions, the application's
// error handler and data-file functions, and the table engine. The program and the
// command-line companion both start this way, so an error is handled and reported alike in
// each of them.
namespace kv::app {

// Registers the runtime's and the application's functions by name, the language's own
// initialisation (the public GETLIST and the error handler, installed before any other
// start-up procedure) and the engine's start-up and end. Called once before runProgram().
void registerCoreModules();

}  // namespace kv::app
