#pragma once
// What the database functions share in reading their arguments: the current table they need
// and the scope of the functions that work on a range of records.
#include "engine/area/workarea.h"
#include "runtime/value/value.h"

namespace kv::engine {

// The current work area; with no table there, raises "Area de trabajo no usada" (gen 35,
// subcode 2001, the operation named) and answers null.
WorkArea* needTable(const char* operation);

// The scope of DBEVAL and the copy functions from their FOR, WHILE, NEXT, RECORD and REST
// arguments (by reference or not); REST is on only for the logical true.
Scope makeScope(const Value& forBlock, const Value& whileBlock, const Value& next,
                const Value& record, const Value& rest);

}  // namespace kv::engine
