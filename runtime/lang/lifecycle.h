#pragma once
// Start and end of the program. runProgram() initialises the runtime, runs the modules'
// start-up procedures, calls the application's start procedure and then the end sequence:
// exit procedures once, the shutdown event (the engine closes its work areas, the window
// library destroys its global objects), and the exit code, which is the error level.
namespace kv {

using Procedure = void (*)();

// The language's own initialisation (declares GETLIST, installs the error handler); it runs
// before every other start-up procedure.
void setLanguageInit(Procedure p);
// A module's start-up procedure. They run after the language's own, last registered first.
void registerInitProcedure(const char* name, Procedure p);
// An application exit procedure; exit procedures run once, in registration order.
void registerExitProcedure(const char* name, Procedure p);
// A listener of the shutdown event, broadcast after the exit procedures, in registration
// order (the engine closes all work areas here).
void registerShutdownHandler(const char* name, Procedure p);
// Runs last of all, after the shutdown event (the leak report).
void registerFinalReport(Procedure p);

// The process's error level: the exit code of the program (0 unless a handler set it).
int errorLevel();
void setErrorLevel(int level);

// Thrown by QUIT() to unwind to runProgram(), which then runs the end sequence.
struct QuitRequest {};

// Ends the program: unwinds every active procedure, then runs the end sequence.
[[noreturn]] void QUIT();

// The whole life of the process around `mainProc`: initialisation (a failure writes
// "Initialization errors" to the error channel and ends with code 1), the start-up
// procedures, `mainProc`, and the end sequence. Answers the exit code.
int runProgram(Procedure mainProc);

// The end sequence on its own, for paths that cannot unwind (answers the exit code). A
// fourth entry writes "Aborted during termination" and ends the process at once.
int endSequence();

// Drops every registration (for tests that run several programs in one process).
void resetLifecycle();

}  // namespace kv
