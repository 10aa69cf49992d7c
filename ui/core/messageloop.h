#pragma once
// The library's message loops. Run, ShowModal, ProcessMessages and the dialogs all repeat one
// message step over Qt's event dispatch; a handler that opens a modal form or a dialog runs
// nested steps of the same kind, so a loop nests simply by calling the step again.
//
// One message step:
//   1. handle the messages that are waiting, without waiting (the library's event router
//      hands each widget's events to its control);
//   2. when there were none (idle), update the hint for the control under the mouse, then
//      wait until a message arrives and handle it;
//   3. the quit message sets the terminated flag;
//   4. an error a handler raised is rethrown here, once Qt has returned.
// Windows destroyed by a handler are freed at the start of the next step taken outside every
// handler.
namespace kv::ui {

void messageStep();
// Handles every waiting message, never waiting, while the terminated flag is clear.
void processMessages();

// Brings newly shown windows up to date: handles the window system's and the paint messages
// (not user input, not timers) for up to `maxMs` milliseconds, until `exposed` answers true.
void updateWindows(bool (*exposed)(void*), void* ctx, int maxMs);

// The terminated flag: set by the quit message or Terminate; every loop ends when it is set.
bool terminated();
void setTerminated(bool on);
// The running flag of Run.
bool running();
void setRunning(bool on);
// Posts the quit message (the application ends after the current message).
void postQuitMessage();

// Frees the windows destroyed so far (at a point outside every handler).
void freeDestroyedWindows();
// Back to the start state (the library's exit procedure).
void resetMessageLoop();

}  // namespace kv::ui
