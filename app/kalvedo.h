#pragma once
// The work-order program's entry points: the start-up of every module, the window part's
// included, the start procedure, and the program's whole run.
namespace kv::app {

// Registers the modules' start-up procedures and the language's own initialisation
// (registerCoreModules), then the window library's, registered last so that its start-up runs
// first among the modules: Screen, Application and Printer exist before the table drivers are
// registered, and long before MAIN. Called once before runProgram().
void registerModules();

// The start procedure: puts the program's boxes on the window library and watches for the stop
// signals; declares the public VER ("1.04") and the application's other globals (nil), hides
// deleted records and sets the date format "DD.MM.YYYY" with the century on; creates or
// upgrades the data files (INITDBF); then sets the library's language to English (2) and the
// application's title, creates the main form through Application:CreateForm (its OnCreate
// opens the tables) and runs the message loop. Returns when the loop ends: the main window
// was closed, or a stop signal came.
void MAIN();

// The program `kalvedo`: without a display named it prints one line saying so and answers 2;
// otherwise it catches the stop signals, registers the modules and runs the program (a window
// system that cannot be opened also ends it with the line and 2). Answers the exit code.
int runKalvedo();

}  // namespace kv::app
