#pragma once
// Saving and deleting a work order from the editing form, with the boxes the user answers and
// the overview row each one changes. The boxes go through the application's message dialog.
// The overview rows are changed last, once the record is written, so an error raised midway
// (the program asked to end while it waited for a lock, a failed write) leaves them as they
// were; a record lock taken is released on every way out.
#include <string>

#include "app/core/orderrecord.h"
#include "app/core/recordwait.h"
#include "runtime/value/value.h"

namespace kv::app {

enum class EditOutcome {
  Done,      // written: the record is current in Nalozi, the overview row changed
  Refused,   // the number was missing or too large (its error box shown), or the claim of a
             // new number was abandoned through the error handler: nothing written
  Declined,  // the user answered No: nothing written
  NotFound,  // delete of a number that does not exist (its error box shown)
};

struct EditResult {
  EditOutcome outcome = EditOutcome::Refused;
  int row = 0;  // the 1-based overview row changed, when Done
};

// The confirmation asked before an existing order is written over: "Nalog broj " + number
// text + " vec postoji u bazi podataka." + CR + "Zelite li da snimite izmene na ovom Nalogu?".
std::string overwriteQuestion(const std::string& numberText);

// Saves `form` as order form.number: refuses a missing or too large number; a number that is
// free is appended through the key guard, so two stations saving it at once store it once;
// one that exists (or was taken meanwhile by another station) is written over only after Yes
// to overwriteQuestion. The record is locked (waiting with `notice` while another station
// holds it), written, unlocked and committed; then its row is put into `rows`.
EditResult saveOrder(const OrderForm& form, const Value& rows, RecordWaitNotice* notice);

// Deletes order `number`: refuses a missing or too large number; a number that does not exist
// shows "Nalog broj " + number text + " ne postoji u bazi podataka!"; otherwise, after Yes to
// "Sigurno brisete Nalog broj " + number text + "?", the record is locked (waiting with
// `notice`), marked deleted and unlocked, and its row in `rows`, when it has one, shows the
// order in parentheses.
EditResult deleteOrder(const Value& number, const Value& rows, RecordWaitNotice* notice);

}  // namespace kv::app
