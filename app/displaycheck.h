#pragma once
// Whether the program has a display to open its window on. Qt ends a process whose window
// system cannot be opened with an abort; the program instead says so in one line on standard
// error, with how to run it, and ends with code 2, before any table is opened.
#include <string>

namespace kv::app {

inline constexpr int kNoDisplayExit = 2;

// True when the environment names a window system or a Qt platform: DISPLAY, WAYLAND_DISPLAY
// or QT_QPA_PLATFORM set and not empty.
bool displayNamed();

// The line that says there is no display and how to run the program (no line end): with
// `named` false no display is named at all; with true the named one could not be opened.
std::string noDisplayLine(bool named);

// Until endDisplayGuard(): a fatal Qt message (the window system named cannot be opened while
// the window library makes the QApplication) writes noDisplayLine(true) to standard error and
// ends the process with kNoDisplayExit instead of Qt's abort. Every other message goes to the
// message handler that was installed before.
void guardDisplayOpening();
// The window system is open: Qt's messages go to the handler before the guard again.
void endDisplayGuard();

}  // namespace kv::app
