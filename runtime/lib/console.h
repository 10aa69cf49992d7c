#pragma once
// The terminal functions, answered as by a program without a terminal: there is no screen
// or printer head to ask and no keyboard buffer to read. ROW, COL, PROW and PCOL answer 0;
// SETPOS and DEVPOS move nothing; INKEY answers 0 (no key) at once, whatever it is told to
// wait. They exist so that key and filter texts, and the application, can name them.
//
// Wrong kinds raise argument errors (general code 1, subsystem "BASE") with the subcodes
// INKEY 2030, SETPOS 2031, DEVPOS 2032.
#include "runtime/value/value.h"

namespace kv {

// ROW(), COL(): the cursor position on the screen, always 0.
Value ROW();
Value COL();
// PROW(), PCOL(): the print head position, always 0.
Value PROW();
Value PCOL();
// SETPOS(row, col), DEVPOS(row, col): two numbers; nothing moves; answer nil.
Value SETPOS(const Value& row, const Value& col);
Value DEVPOS(const Value& row, const Value& col);
// INKEY([seconds]): the next key, always 0 (no key), without waiting; `seconds`, when
// given, is a number.
Value INKEY(const Value& seconds = Value());

// Registers the functions above by name.
void registerConsoleFunctions();

}  // namespace kv
