#pragma once
// The error object: an instance of the class ERROR, a seven-element array:
//   1  a 28-byte record: severity, general code, operating-system code, flags, tries and
//      subcode (16 bits each, little-endian), then 16 bytes the builder uses (zero here)
//   2  array of the failing operation's arguments
//   3  subsystem name    4  description    5  operation    6  file name
//   7  cargo (any value; empty text at creation)
// The class answers, in this order, CLASSNAME, SUBSYSTEM, SUBCODE, GENCODE, OSCODE, SEVERITY,
// CANDEFAULT, CANRETRY, CANSUBSTITUTE, OPERATION, DESCRIPTION, FILENAME, ARGS, TRIES, CARGO,
// and the setters _SUBSYSTEM ... _CARGO. Setters store their argument and answer it; numeric
// setters keep the low 16 bits of a number and ignore any other value, the flag setters set or
// clear their bit for a logical.
#include "runtime/error/error.h"
#include "runtime/lang/classes.h"

namespace kv {

// The class ERROR (declared on first use).
const ClassDef* errorClass();

// An error object filled from a raiser's record; an empty description is taken from the table
// of general codes.
Value makeErrorObject(const ErrorRecord& record);

// True for an instance of ERROR.
bool isErrorObject(const Value& v);

}  // namespace kv
