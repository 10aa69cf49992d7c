#pragma once
// The codes of run-time errors: the flags that say what a handler may answer, the general
// codes every subsystem shares, and the subcodes with a meaning of their own in a subsystem.
// A subcode means something only together with its subsystem ("BASE" the runtime, "DBF" and
// "DBFNTX" the table and index drivers, "DBCMD" the database functions), so two names may
// share a number ("KVDB" is the command-line companion's own). The argument errors of the runtime's
// library functions (texts, dates, numbers, arrays, ...) keep their subcodes with the function,
// each written once in its module and listed in its header.
namespace kv {

// Flags of an error: what the handler may answer.
enum ErrorFlag : int { kCanRetry = 1, kCanSubstitute = 2, kCanDefault = 4 };

// General error codes used across the system.
enum GenCode : int {
  EG_ARG = 1,
  EG_BOUND = 2,
  EG_STROVERFLOW = 3,
  EG_NUMOVERFLOW = 4,
  EG_ZERODIV = 5,
  EG_NUMERR = 6,
  EG_SYNTAX = 7,
  EG_COMPLEXITY = 8,
  EG_MEM = 11,
  EG_NOFUNC = 12,
  EG_NOMETHOD = 13,
  EG_NOVAR = 14,
  EG_NOALIAS = 15,
  EG_NOVARMETHOD = 16,
  EG_BADALIAS = 17,
  EG_DUPALIAS = 18,
  EG_CREATE = 20,
  EG_OPEN = 21,
  EG_CLOSE = 22,
  EG_READ = 23,
  EG_WRITE = 24,
  EG_PRINT = 25,
  EG_UNSUPPORTED = 30,
  EG_LIMIT = 31,
  EG_CORRUPTION = 32,
  EG_DATATYPE = 33,
  EG_DATAWIDTH = 34,
  EG_NOTABLE = 35,
  EG_NOORDER = 36,
  EG_SHARED = 37,
  EG_UNLOCKED = 38,
  EG_READONLY = 39,
  EG_APPENDLOCK = 40,
  EG_LOCK = 41,
};

// Subcodes, by subsystem.
enum SubCode : int {
  // "BASE": the runtime.
  kBaseNoFunction = 1001,        // a function or procedure that does not exist (gen 12)
  kBaseNoAlias = 1002,           // an alias that names no work area (gen 15)
  kBaseNoVariable = 1003,        // a variable that does not exist (gen 14)
  kBaseNoMethod = 1004,          // a message the receiver does not answer (gen 13)
  kBaseReadOnlyProperty = 1005,  // an assignment to a read-only property (gen 39)
  kBaseMacroNotText = 1065,      // "&" applied to a value that is not text (gen 1)
  kBaseIifCondition = 1066,      // IIF with a condition that is not logical (gen 1)
  kBaseDivide = 1340,            // "/" by zero (gen 5)
  kBaseModulus = 1341,           // "%" by zero (gen 5)
  kBaseMacroSyntax = 1449,       // a macro text that does not compile (gen 7)
  kBaseCopyFileOpen = 2012,      // __COPYFILE cannot open or create a file (gen 21, 20)
  kBaseCopyFileData = 2016,      // __COPYFILE cannot read or write a block (gen 23, 24)

  // "DBF" and "DBFNTX": the table and index drivers.
  kDbOpenTable = 1001,       // the table file does not open (gen 21)
  kDbOpenMemo = 1002,        // the memo file does not open (gen 21)
  kDbOpenIndex = 1003,       // an index file does not open (gen 21)
  kDbCreateTable = 1004,     // the table file cannot be created (gen 20)
  kDbCreateMemo = 1005,      // the memo file cannot be created (gen 20)
  kDbCreateIndex = 1006,     // an index file cannot be created (gen 20); no bag name (gen 1)
  kDbRead = 1010,            // a read of the table or memo file fails (gen 23)
  kDbWrite = 1011,           // a write of a table, memo or index file fails (gen 24)
  kDbCorruption = 1012,      // a damaged table or index file (gen 32)
  kDbDataType = 1020,        // a value of the wrong type for a field (gen 33)
  kDbNotIndexed = 1020,      // a seek without a controlling order (gen 36)
  kDbDataWidth = 1021,       // a number too wide for its field (gen 34)
  kDbUnlocked = 1022,        // a write to a shared record that is not locked (gen 38)
  kDbExclusive = 1023,       // pack or zap of a shared table (gen 37)
  kDbAppendLock = 1024,      // the append lock is not obtained (gen 40)
  kDbReadOnly = 1025,        // a write to a table opened read-only (gen 39)
  kDbKeyWidth = 1026,        // a key of no bytes, or more than an index holds (gen 34)
  kDbOrderLimit = 1027,      // more orders than a work area holds (gen 31)
  kDbLockFailed = 1031,      // the index lock fails with an operating-system error (gen 41)
  kDbUnlockFailed = 1034,    // the index lock's release fails with one (gen 41)
  kDbLockTaken = 1035,       // the index lock stays taken by another station (gen 41)
  kDbUnlockRefused = 1038,   // the index lock's release is refused without one (gen 41)
  kDbSkipCorruption = 1210,  // a damaged order met while stepping (gen 32)

  // "DBCMD": the database functions.
  kDbCmdSeekKey = 1001,     // DBSEEK without a key
  kDbCmdGotoRecord = 1003,  // DBGOTO with a record that is not a number
  kDbCmdNoFile = 1005,      // DBUSEAREA without a file name
  kDbCmdOrderKey = 1006,    // ORDCREATE without a key text
  kDbCmdOrderBag = 1008,    // ORDLISTADD without a bag name
  kDbCmdFieldName = 1009,   // FIELDNAME of a field number that is not one
  kDbCmdDupAlias = 1011,    // an alias another work area uses (gen 18)
  kDbCmdStructure = 1014,   // DBCREATE without a name or a structure it can use
  kDbCmdNoDriver = 1015,    // a driver name that is not registered
  kDbCmdOrdBagName = 1021,  // ORDBAGNAME with an order that is neither number nor name
  kDbCmdOrdFor = 1022,      // ORDFOR, the same
  kDbCmdOrdKey = 1023,      // ORDKEY, the same
  kDbCmdOrdName = 1024,     // ORDNAME, the same
  kDbCmdOrdNumber = 1025,   // ORDNUMBER, the same
  kDbCmdNoTable = 2001,     // a database function with no table in the current area (gen 35)
  kDbCmdEvalBlock = 2019,   // DBEVAL without a block

  // "KVDB": the command-line companion's backup and export.
  kKvdbCreate = 1,        // the archive or export file cannot be created (gen 20)
  kKvdbWrite = 2,         // it cannot be written in full (gen 24)
  kKvdbArchiveName = 3,   // the archive's name is taken, or the rename to it fails (gen 20)
  kKvdbArchiveCheck = 4,  // the archive does not read back as written (gen 32)
  kKvdbCheckUnpack = 5,   // the check cannot unpack the archive to check it (gen 20, 24)
};

}  // namespace kv
