#pragma once
// The database functions of the language. Each works on the current work area unless
// stated; with no table open there, the functions that need one raise "Area de trabajo no
// usada" (gen 35, subcode 2001, subsystem "DBCMD"). Argument errors are gen 1 with
// subsystem "DBCMD" and the subcode given below. Every function is also registered by name
// (registerDbFunctions) for the expression compiler.
#include <optional>

#include "runtime/lang/symbols.h"
#include "runtime/value/value.h"

namespace kv::engine {

// --- areas and tables
// Opens a table: new-area flag, driver (empty: default; unknown: 1015), file name
// (required: 1005), alias (default: base name), shared (default: not the exclusive
// setting), read-only. Clears NETERR first.
Value DBUSEAREA(const Value& newArea, const Value& driver, const Value& file,
                const Value& alias = Value(), const Value& shared = Value(),
                const Value& readOnly = Value());
Value DBCLOSEAREA();
Value DBCLOSEALL();
// Selects by number (256 or more: 0 = lowest free) or alias text; an unknown alias changes
// nothing. Answers the previous area number.
Value DBSELECTAREA(const Value& area);
// Creates a table from {name, type, len, dec} rows (1014 for a missing name or structure, or
// when no field or a too large record results). Without keep-open the table is closed again
// and the selection restored; with it the table stays open (in a new area unless false).
Value DBCREATE(const Value& file, const Value& structure, const Value& driver = Value(),
               std::optional<Value> keepOpen = std::nullopt, const Value& alias = Value());
Value DBSTRUCT();
Value AFIELDS(const Value& names = Value(), const Value& types = Value(),
              const Value& lens = Value(), const Value& decs = Value());

// --- movement
Value DBGOTOP();
Value DBGOBOTTOM();
Value DBGOTO(const Value& recNo);
Value DBSKIP(const Value& count = Value());
Value DBSEEK(const Value& key, const Value& soft = Value(), const Value& last = Value());

// --- records
Value DBAPPEND(const Value& releaseLocks = Value());
Value DBDELETE();
Value DBRECALL();
Value __DBPACK();
Value __DBZAP();
Value DBCOMMIT();
Value DBCOMMITALL();
Value FIELDGET(const Value& n);
Value FIELDPUT(const Value& n, const Value& v);
Value FIELDPOS(const Value& name);

// --- locks
Value DBRLOCK(const Value& recNo = Value());
Value DBRLOCKLIST();
Value DBUNLOCK();
Value DBUNLOCKALL();
Value DBRUNLOCK(const Value& recNo = Value());
Value __LOCK();
Value __FLOCK();

// --- state
Value __EOF();
Value __BOF();
Value __FOUND();
Value __DELETED();
// The record number shows 7 digits wide below 10,000,000 (10 above); the record and field
// counts, like every other count the engine answers, have no width of their own and are
// shown with the default width of their value.
Value __RECNO();
Value __LASTREC();
Value __FCOUNT();
Value __FIELDNAME(const Value& n);
Value USED();
Value ALIAS(const Value& area = Value());
Value __FSELECT0();
Value __FSELECT1(const Value& alias);
// Enter and leave an aliased expression: enter selects the alias's area (an unknown alias
// or 0 selects the lowest free area) and answers the area to restore.
Value __AXPRIN(const Value& alias);
Value __AXPROUT(const Value& previous);

// --- filter, evaluation, events
Value DBSETFILTER(const Value& block, const Value& text = Value());
Value DBCLEARFILTER();
Value DBFILTER();
Value DBEVAL(const Value& block, const Value& forBlock = Value(), const Value& whileBlock = Value(),
             const Value& next = Value(), const Value& record = Value(),
             const Value& rest = Value());
Value DBSETEVENTS(Args blocks);

// --- orders (served by index drivers)
Value ORDLISTADD(const Value& bag, const Value& name = Value());
Value ORDLISTCLEAR();
Value ORDLISTREBUILD();
Value ORDCREATE(const Value& bag, const Value& name, const Value& keyText,
                const Value& keyBlock = Value(), const Value& unique = Value());
Value ORDSETFOCUS(const Value& order = Value());
Value ORDKEY(const Value& order = Value());
Value ORDFOR(const Value& order = Value());
Value ORDNAME(const Value& order = Value());
Value ORDNUMBER(const Value& order = Value());
Value ORDBAGNAME(const Value& order = Value());
Value INDEXORD();
Value ORDBAGEXT();
// ORDCONDSET(forText, forBlock, all, whileBlock, evalBlock, evalInterval, startRecord,
// nextCount, recordNumber, rest, descending): stores the condition of the next ORDCREATE in
// the current area. Result: true when the area's driver took it.
Value ORDCONDSET(Args args);

// --- drivers
Value RDDNAME();
Value DBTABLEEXT();

// --- copying
Value __DBTRANS(const Value& target, const Value& fields, const Value& forBlock = Value(),
                const Value& whileBlock = Value(), const Value& next = Value(),
                const Value& record = Value(), const Value& rest = Value());
// Copies only the current record into the target area (same field mapping as __DBTRANS).
Value __DBTRANSREC(const Value& target, const Value& fields);
Value __DBAPP(const Value& file, const Value& fields = Value(), const Value& forBlock = Value(),
              const Value& whileBlock = Value(), const Value& next = Value(),
              const Value& record = Value(), const Value& rest = Value(),
              const Value& driver = Value());

// Registers every function above by name (with the short names EOF, RECNO, RECCOUNT ...).
void registerDbFunctions();

// The engine's start-up and end: registers the start-up procedure (drivers "DBF" and
// "DBFNTX", the latter the default, the
// exclusive setting on, the functions by name) and the shutdown handler that closes every
// work area. Call once before runProgram.
void installEngine();

}  // namespace kv::engine
