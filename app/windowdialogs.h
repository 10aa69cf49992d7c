#pragma once
// The program's boxes on the window library. The error channel's boxes and the runtime's plain
// box become the library's (ui/dialogs/errorboxes.h), and the application's MessageDlg
// (app/core/messagedlg.h) is handed to the library's dialog:
// - a wait box (type 4) is the library's borderless form whenever the window library runs: it
//   is shown without waiting, and the code that asked for it destroys it (closeWaitBox);
// - a box that waits for a button is the library's modal dialog only where somebody can answer
//   it (a window system; not Qt's offscreen platform, not before the window library starts or
//   after it ends); elsewhere the headless stand-in answers as before, so a program without a
//   screen never waits for a box nobody sees.
namespace kv::app {

// Installs both; the program calls this first thing in MAIN, once the window library runs.
void installWindowDialogs();
// Back to the headless boxes of the application's core and the runtime.
void removeWindowDialogs();

}  // namespace kv::app
