#pragma once
// The application's data files: the work orders (Nalozi.dbf with its memo file Nalozi.dbt),
// the phone manufacturers (ProizTel.dbf) and the customers (Korisnici.dbf), each with one
// NTX index (Nalozi.ntx on BrNal, ProizTel.ntx and Korisnici.ntx on upper(Naziv)). All names
// are bare, so the files live in the current directory. Tables are opened shared with the
// driver "DbfNtx", and every write is bracketed by REC_LOCK, DBUNLOCK and DBCOMMIT.
#include <string_view>

#include "runtime/value/value.h"

namespace kv::app {

// The driver the application names when it opens a table (the engine's default driver).
inline constexpr const char* kDataDriver = "DbfNtx";

// The current structure of a table ("Nalozi", "ProizTel" or "Korisnici", any case) as an
// array of {name, type, length, decimals} rows; an empty array for another name.
Value StrukturaTabele(std::string_view table);

// Makes sure each table exists in its current structure, in the order Nalozi, ProizTel,
// Korisnici: shows the wait box "Kreiram baze podataka. Molim sacekajte...", holds each
// table's rows in the public aDbf while CREATEDBF runs, then destroys the box and releases
// aDbf. Takes no locks: no other station may have the files open at that moment.
void INITDBF();

// Creates or upgrades one table (file name with extension, such as "Nalozi.dbf") to the
// structure held in the public aDbf:
// - a missing file is created (with its memo file when the structure has a memo field);
// - a file with at least as many fields as aDbf is left as it is;
// - a file with fewer fields n is kept as a backup and made anew: with a memo file beside
//   it the backups are BASE_Knn.dbf and BASE_Knn.dbt, else the table is copied to BASE.Knn
//   (nn: n with two digits; BASE and the added letters in the case of the table's file on
//   disk, so NALOZI.DBF keeps NALOZI_K24.DBF and NALOZI_K24.DBT); every record of the backup,
//   deleted ones included and still marked deleted, is appended into the new table by field name;
//   new fields stay blank.
// The index file is not touched. Failures raise the runtime's errors. When the error handler
// abandons the first open or a backup copy (another station holds the file), the table is
// left as it is rather than made anew without a complete backup.
void CREATEDBF(const Value& fileName);

// Locks the current record of the work area with the given alias and answers true when
// the lock is held (also when this process held it already). Seconds 0 means: try until
// the lock is obtained; otherwise give up with false after about that many seconds. Each
// pass runs the event poll and pauses briefly, so a waiting station does not spin. The
// current work area is left as it was.
bool REC_LOCK(const Value& seconds, const Value& alias);

// Appends a blank record to the current area (DBAPPEND(.T.), which releases the area's record
// locks and locks the new record) and makes it current; tried again, after the event poll and
// a pause, while another station holds the place of the new record.
void appendBlank();

// Fills ProizTel with the default list of 22 manufacturers, in list order, each record
// appended, locked, written, unlocked and committed. Selects ProizTel.
void FILLPROIZV();

// Opens the three tables, each in a new work area (driver "DbfNtx", alias from the file
// name, shared, read-write), in the order Nalozi, ProizTel, Korisnici. A missing index file
// is built first; then the area's order list is cleared and the index opened, so its order
// controls the area (OtvoriIndeks, which rebuilds an index that is damaged or ends the
// program when it cannot). Finally ProizTel is filled with FILLPROIZV when it has no records at
// all (records marked deleted count).
void OtvoriBaze();

// Registers INITDBF, CREATEDBF, REC_LOCK, FILLPROIZV and OTVORIBAZE by name.
void registerDataFileFunctions();

}  // namespace kv::app
