#pragma once
// SIGTERM, SIGINT and SIGHUP (a session logout) end the program the way closing its main window
// does: the message loop ends, MAIN returns, and the end sequence closes the forms and then the
// tables, so nothing is lost and the exit code is the error level (0).
//
// The signal handler only writes one byte to a pipe (async-signal-safe). The message loop
// watches the pipe and, when a byte arrives, posts the quit message, as the main form's Close
// does. A signal that comes before the message loop runs (while the data files are made or
// opened) waits in the pipe and ends the program as soon as the loop starts, so a table being
// written is never cut off.
namespace kv::app {

// Installs the handlers for the three signals (once; later calls do nothing).
void catchStopSignals();
// Starts watching the pipe from the message loop (the QApplication exists); the watch ends
// with the QApplication. Without catchStopSignals() it does nothing.
void watchStopSignals();

}  // namespace kv::app
