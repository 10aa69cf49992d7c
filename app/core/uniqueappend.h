#pragma once
// Appending a record only while its key is still free, across stations. Looking a key up and
// appending a record for it are two steps; two stations that both find a new order number (or
// a customer's name) missing would otherwise both append it. The guard puts both steps under
// the table's key-claim lock, which every station of the program takes before it appends a
// keyed record, and releases it only once the new record with its key has been written back,
// so the next station's seek finds the key.
//
// The key-claim lock is one byte of the table's DBF file, at offset kKeyClaimOffset, just
// before the engine's append lock (engine/dbf/dbf_lock.h): an exclusive byte-range lock of an
// open of the file of its own, so it never mixes with the locks the work area itself takes
// and releases (DBUNLOCK, DBAPPEND's release of record locks).
#include <cstdint>
#include <functional>
#include <string>

#include "runtime/value/value.h"

namespace kv::app {

// The byte of a table's DBF file that stations lock while they test and append a key.
inline constexpr std::uint64_t kKeyClaimOffset = 999'999'999ULL;

enum class KeyAppend {
  Appended,   // the key was free: a record was appended and `write` ran on it
  Exists,     // a record with the key exists (not deleted): it is the current record
  Abandoned,  // the claim could not be taken (the error handler gave up): nothing written
};

// In the work area `alias`, whose controlling order is keyed on the key sought and whose table
// file is `tableFile` (the name it was opened under, such as "Nalozi.dbf"):
// 1. takes the table's key-claim lock, waiting while another station holds it (each attempt
//    runs the event poll and pauses briefly); a table file that does not open for the claim
//    raises the open error (21/1001, the file and its operating-system code, retry and
//    default allowed): a retry tries again, a default answers Abandoned;
// 2. seeks `key` (deleted records hidden as the settings say): when found, releases the claim
//    and answers Exists with the found record current;
// 3. otherwise appends a blank record (DBAPPEND(.T.), tried again while another station holds
//    the place of the new record), runs `write` with the new record current, releases the
//    claim and answers Appended. `write` must store the key and write the record back (lock,
//    fields, DBUNLOCK, DBCOMMIT): the claim protects the key only until it is released.
// The claim is released on every way out, an error unwinding from `write` included. The area
// `alias` is the current one afterwards.
KeyAppend appendIfKeyFree(const Value& alias, const std::string& tableFile, const Value& key,
                          const std::function<void()>& write);

}  // namespace kv::app
