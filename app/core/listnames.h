#pragma once
// Names of the two small lists beside the work orders, customers (Korisnici) and phone
// manufacturers (ProizTel), as their tables hold and look them up, and the locked writes both
// lists make. A typed name is always brought to the field's 50 characters (padded with blanks
// or cut) before it is looked up or stored; it is looked up by its upper-cased form against the
// index on upper(Naziv) and stored in the case typed, so "Ana" and "ANA" are one name.
#include <functional>
#include <string>
#include <string_view>

#include "runtime/value/value.h"

namespace kv::app {

// The width of Naziv (and of a customer's Kontakt).
inline constexpr std::size_t kNameWidth = 50;

// `typed` brought to exactly kNameWidth bytes: padded with blanks or cut.
std::string paddedName(std::string_view typed);

// True when `name` holds nothing but blanks (or nothing at all).
bool isBlankName(std::string_view name);

// The key a name is sought by: its upper-cased form, through the national case tables.
Value nameKey(std::string_view name);

// A name as the boxes show it: upper-cased, without its trailing blanks.
std::string shownName(std::string_view name);

// `s` without its trailing blanks.
std::string trimRight(std::string_view s);

// Runs `put` on the current record of the work area `alias` under its record lock (waited
// for without limit, as REC_LOCK(0, alias) does), then unlocks and commits. The lock is
// released also when `put` unwinds. Leaves `alias` selected.
void writeLockedRecord(const Value& alias, const std::function<void()>& put);

// Marks the current record of `alias` deleted under its record lock, unlocks and commits.
void deleteLockedRecord(const Value& alias);

// Marks every record of `alias` deleted, each under its own record lock, in index order,
// running the event poll once per record, and commits once at the end. Leaves `alias`
// selected.
void deleteAllRecords(const Value& alias);

// The text of field `name` of the current record of the current area.
std::string fieldText(const char* name);

}  // namespace kv::app
