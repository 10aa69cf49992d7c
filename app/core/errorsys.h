#pragma once
// The application's error handler. ERRORSYS installs a handler block that hands every
// run-time error to DEFERROR, which either gives the failing operation a value (0 for a
// division by zero or a call of a missing procedure), abandons it quietly (an open or append
// lock failing because another station holds the file), or reports the error with the chain
// of calling procedures and ends the program with error level 1.
#include "runtime/value/value.h"

namespace kv::app {

// Installs the handler: the error block becomes {|e| DEFERROR(e)}.
void ERRORSYS();

// Decides what the runtime does with an error object; the first rule that applies wins:
//  1. code 5 (division by zero): answers 0;
//  2. code 21 with operating-system code 32 and the default allowed: sets NETERR, answers
//     false;
//  3. code 40 with the default allowed: sets NETERR, answers false;
//  4. code 12 (missing procedure): shows "Procedura koju pozivate nije pronadjena!" in an
//     error box and answers 0;
//  5. anything else: writes the report (ERRORMESSAGE, the operating-system code, the
//     "Called from NAME (LINE)  " lines) to the error channel, sets error level 1 and quits;
//     it does not return.
Value DEFERROR(const Value& e);

// The error's text: "Error " or "Warning " (by severity), subsystem, "/" subcode, two blanks
// and the description of the general code (which it also stores in the error's DESCRIPTION),
// then ": " CR LF and the file name, or ": " and the operation.
Value ERRORMESSAGE(const Value& e);

// The description ERRORMESSAGE gives a general code ("Argument error", ..., or "Undefined
// error code (Error.ch (EG_ n))").
std::string errorCodeText(int genCode);

// Registers ERRORSYS, DEFERROR and ERRORMESSAGE by name.
void registerErrorSysFunctions();

}  // namespace kv::app
