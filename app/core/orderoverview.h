#pragma once
// The order overview's rows (aPregled): one array of seven texts per work order, built from
// Nalozi, sorted by a column, searched and filtered. Rows are 1-based where the grid sees them.
//
// | Column | Content                                                              |
// |--------|----------------------------------------------------------------------|
// | 1      | BrNal as stored                                                      |
// | 2      | DTOC of DatNal                                                       |
// | 3..6   | Korisnik, Proizvodja, Model, SerijskiBr as stored (trailing blanks)  |
// | 7      | the status text: "Zavrsen", else "u Obradi", else "na Cekanju"       |
#include <string>
#include <string_view>

#include "runtime/value/value.h"

namespace kv::app {

inline constexpr int kOverviewColumns = 7;
inline constexpr int kOverviewDateColumn = 2;
inline constexpr int kOverviewStatusColumn = 7;

// The status text of an order: "Zavrsen" when finished, else "u Obradi" when in progress,
// else "na Cekanju" (the waiting flag itself is not consulted).
const char* orderStatusText(bool zavrsen, bool uObradi);

// The row of the current record of the current area (Nalozi).
Value overviewRow();

// The row of a deleted order: every text of the current record's row in parentheses, the
// four texts of columns 3 to 6 without their trailing blanks ("(" + BrNal + ")" ...).
Value deletedOverviewRow();

// Builds the rows of every order of Nalozi that passes the area's filter, in index order,
// running the event poll once per record. The rows are collected apart and answered whole, so
// an error raised midway leaves the caller's aPregled as it was. Selects Nalozi.
Value buildOverview();

// The rows of the orders whose customer, contact, model and serial number (joined as stored)
// contain `search`, both upper-cased; every order for an empty search. The filter is set on
// Nalozi only while the rows are built and cleared on every way out.
Value buildFilteredOverview(std::string_view search);

// The 1-based row whose first column is exactly `numberText`, 0 when none. A number appears in
// one row at most (a save replaces its row, a fill reads each order once), so when the row at
// the number's own position holds it, that row is answered without looking further.
int overviewRowOfNumber(const Value& rows, std::string_view numberText);

// Puts `row` into `rows`: in place of the row of the same number, else appended. Answers its
// 1-based position.
int putOverviewRow(const Value& rows, const Value& row);

// The 1-based first row whose first column, upper-cased, contains `numberText`; 0 when none.
int overviewRowContaining(const Value& rows, std::string_view numberText);

// The incremental search: the 1-based first row for which the upper-cased `search` occurs in
// the upper-cased columns 3, 5 and 6 joined; 0 when none or when `search` is empty.
int searchOverview(const Value& rows, std::string_view search);

// Sorts `rows` in place by `column` (1..7), upper-cased texts, ascending when `descending` is
// false, and then inverts `descending` (one direction for every column). The date column
// sorts by calendar date (its text read back with CTOD, parentheses of a deleted row ignored;
// a text that is no date sorts first); every other column by text. Rows that compare equal
// keep their order. A column outside 1..7 leaves the rows and the flag alone.
void sortOverview(const Value& rows, int column, bool& descending);

}  // namespace kv::app
