#pragma once
// The customer list below the window: the rows of the customer grid (aKorisnici) loaded from
// Korisnici, a customer saved, deleted or all of them deleted with the boxes the user answers,
// and the incremental search of a typed name. Each row is an array of two texts, name and
// contact, as stored (50 characters each, trailing blanks kept). Rows are 1-based where the
// grid sees them. The boxes go through the application's message dialog (error, information
// and confirmation boxes, centred over the main form). Rows change only once the table is
// written, so an error raised midway leaves them as they were.
#include <string>
#include <string_view>

#include "runtime/value/value.h"

namespace kv::app {

// The wait box shown while the customer rows are loaded.
inline constexpr const char* kCustomersLoadingText =
    "Ucitava se Spisak Korisnika. Molim sacekajte...";
// The refusal of a save or delete without a name.
inline constexpr const char* kNoCustomerText = "Niste uneli podatke o Korisniku.";

enum class ListOutcome {
  Done,       // written (saved, deleted): the table and the rows changed
  Refused,    // no name was given (its error box shown): nothing written
  NotFound,   // delete of a name that is not stored (its error box shown)
  Declined,   // the user answered No: nothing written
  Abandoned,  // the claim of a new name was abandoned through the error handler
};

// The customer part of the window as the commands drive it, each call at its moment among the
// boxes. The defaults do nothing (a station without a window).
class CustomerView {
 public:
  virtual ~CustomerView() = default;
  // The rows were changed: give them to the grid again and make `row` (1-based) current.
  virtual void showRows(int row) { (void)row; }
  // Both edits become 50 blanks.
  virtual void clearEdits() {}
  // The name edit takes the focus.
  virtual void focusName() {}
};

struct CustomerResult {
  ListOutcome outcome = ListOutcome::Refused;
  int row = 0;  // the row changed (made current), 0 when none
};

// Every customer's row in index order (alphabetical, case-insensitive), running the event poll
// once per record. The rows are collected apart and answered whole. Selects Korisnici.
Value buildCustomerRows();

// buildCustomerRows under the wait box kCustomersLoadingText, destroyed on every way out.
Value loadCustomerRows();

// Saves the customer `name` with `contact` (both as the edits hold them). A blank name is
// refused with kNoCustomerText, then the name edit takes the focus. Otherwise the name, padded to
// 50, is sought without regard to case: a stored customer is written over (its name takes the case
// typed, its contact is replaced); a missing one is appended through the key guard, so two
// stations saving the same new name store it once (the second writes over the first's). The
// row of `rows` whose name equals the padded name exactly (case and all 50 characters) is
// replaced by the record's; without one the record's row is appended at the end, not in
// alphabetical place; the rows are shown with it current.
CustomerResult saveCustomer(std::string_view name, std::string_view contact, const Value& rows,
                            CustomerView& view);

// Deletes the customer `name`: a blank name is refused with kNoCustomerText; a name not stored
// shows "Korisnik " + NAME + " nije pronadjen u bazi podataka." and clears both edits (NAME:
// upper-cased, trailing blanks removed); otherwise, after Yes to "Sigurno brisete Korisnika: "
// + NAME + "?", the record is marked deleted, the row of exactly that name (when there is one)
// shows name and contact each trimmed and in parentheses and is shown current, both edits are
// cleared and "Podaci o Korisniku su obrisani." is shown. The name edit takes the focus last,
// in every case.
CustomerResult deleteCustomer(std::string_view name, const Value& rows, CustomerView& view);

// After Yes to "Sigurno brisete SVE Korisnike?" marks every customer deleted, shows "Svi
// Korisnici su obrisani.", empties `rows` in place, shows them (row 0) and clears both edits.
// Any other answer changes nothing (Declined).
CustomerResult deleteAllCustomers(const Value& rows, CustomerView& view);

// The 1-based first row whose upper-cased name contains the upper-cased `text`; 0 when none.
int customerRowContaining(const Value& rows, std::string_view text);

// The row the incremental search makes current: customerRowContaining, or the first row when
// no name contains the text.
int customerSearchRow(const Value& rows, std::string_view text);

// The search text of a key pressed in the name edit: the edit's text followed by the character
// of the key code (the character is not yet in the edit when the key event comes).
std::string searchTextAfterKey(std::string_view editText, int keyCode);

}  // namespace kv::app
