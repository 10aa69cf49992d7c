#include "app/core/orderedit.h"

#include "app/core/messagedlg.h"
#include "app/core/orderoverview.h"
#include "app/core/uniqueappend.h"
#include "engine/area/dbfunc.h"
#include "runtime/error/callstack.h"

namespace kv::app {

using namespace kv::engine;

namespace {

constexpr int kYes = 6;
// The work area's alias, made when used: a value made at start-up would outlive the
// program's end and show in its report of memory not released.
Value nalozi() {
  return Value("Nalozi");
}

// Releases the record locks of Nalozi when a write unwinds before its DBUNLOCK.
class UnlockOnUnwind {
 public:
  UnlockOnUnwind() = default;
  ~UnlockOnUnwind() {
    if (armed_) {
      DBSELECTAREA(nalozi());
      DBUNLOCK();
    }
  }
  UnlockOnUnwind(const UnlockOnUnwind&) = delete;
  UnlockOnUnwind& operator=(const UnlockOnUnwind&) = delete;
  void disarm() { armed_ = false; }

 private:
  bool armed_ = true;
};

bool confirmed(const std::string& question) {
  return MessageDlg(Value(question), Value(3), Value(1), Value(5)).asInt() == kYes;
}

void writeLocked(const OrderForm& form, RecordWaitNotice* notice) {
  UnlockOnUnwind unlock;
  lockRecordWaiting(nalozi(), notice);
  DBSELECTAREA(nalozi());
  writeOrderForm(form);
  DBUNLOCK();
  unlock.disarm();
  DBCOMMIT();
}

}  // namespace

std::string overwriteQuestion(const std::string& numberText) {
  return "Nalog broj " + numberText + " vec postoji u bazi podataka.\r" +
         "Zelite li da snimite izmene na ovom Nalogu?";
}

EditResult saveOrder(const OrderForm& form, const Value& rows, RecordWaitNotice* notice) {
  KV_PROC("SAVEORDER");
  EditResult result;
  if (!acceptOrderNumber(Value(form.number))) return result;
  const std::string numberText = orderNumberText(form.number);
  DBSELECTAREA(nalozi());
  bool exists = DBSEEK(Value(numberText)).asBool();
  if (!exists) {
    KV_LINE();
    const KeyAppend r = appendIfKeyFree(nalozi(), "Nalozi.dbf", Value(numberText),
                                        [&] { writeLocked(form, notice); });
    if (r == KeyAppend::Abandoned) return result;
    exists = r == KeyAppend::Exists;
  }
  if (exists) {
    KV_LINE();
    if (!confirmed(overwriteQuestion(numberText))) {
      result.outcome = EditOutcome::Declined;
      return result;
    }
    writeLocked(form, notice);
  }
  DBSELECTAREA(nalozi());
  result.row = putOverviewRow(rows, overviewRow());
  result.outcome = EditOutcome::Done;
  return result;
}

EditResult deleteOrder(const Value& number, const Value& rows, RecordWaitNotice* notice) {
  KV_PROC("DELETEORDER");
  EditResult result;
  if (!acceptOrderNumber(number)) return result;
  const std::string numberText = orderNumberText(number.deref().asInt());
  DBSELECTAREA(nalozi());
  if (!DBSEEK(Value(numberText)).asBool()) {
    MessageDlg(Value("Nalog broj " + numberText + " ne postoji u bazi podataka!"), Value(2),
               Value(2), Value(5));
    result.outcome = EditOutcome::NotFound;
    return result;
  }
  if (!confirmed("Sigurno brisete Nalog broj " + numberText + "?")) {
    result.outcome = EditOutcome::Declined;
    return result;
  }
  KV_LINE();
  {
    UnlockOnUnwind unlock;
    lockRecordWaiting(nalozi(), notice);
    DBSELECTAREA(nalozi());
    DBDELETE();
    DBUNLOCK();
    unlock.disarm();
  }
  // The row keeps showing the order, in parentheses, until the overview is filled again.
  const Value shown = deletedOverviewRow();
  const int at = overviewRowOfNumber(rows, numberText);
  if (at > 0) rows.deref().arr()->items[at - 1] = shown;
  result.row = at;
  result.outcome = EditOutcome::Done;
  return result;
}

}  // namespace kv::app
