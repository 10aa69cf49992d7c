#include "app/core/customers.h"

#include "app/core/listnames.h"
#include "app/core/messagedlg.h"
#include "app/core/uniqueappend.h"
#include "engine/area/dbfunc.h"
#include "runtime/error/callstack.h"
#include "runtime/lang/eventpoll.h"
#include "runtime/lib/strings.h"

namespace kv::app {

using namespace kv::engine;

namespace {

constexpr int kYes = 6;
// The alias, made when used: a value held from the program's start to its end would be
// counted by the leak report.
Value korisniciAlias() {
  return Value("Korisnici");
}

Value recordRow() {
  Value row = Value::newArray();
  row.arr()->items.emplace_back(fieldText("Naziv"));
  row.arr()->items.emplace_back(fieldText("Kontakt"));
  return row;
}

std::string_view rowName(const Value& row) {
  const Value& r = row.deref();
  if (!r.isArray() || r.arrayLen() < 1 || !r.arr()->items[0].isString()) return {};
  return r.arr()->items[0].str();
}

// The 1-based row whose name equals `padded` exactly, 0 when none.
int rowOfName(const Value& rows, std::string_view padded) {
  const Value& r = rows.deref();
  for (std::size_t i = 0; i < r.arrayLen(); ++i)
    if (rowName(r.arr()->items[i]) == padded) return static_cast<int>(i) + 1;
  return 0;
}

CustomerResult refuse(CustomerView& view) {
  MessageDlg(Value(kNoCustomerText), Value(2), Value(2), Value(5));
  view.focusName();
  return CustomerResult{ListOutcome::Refused, 0};
}

bool confirmed(const std::string& question) {
  return MessageDlg(Value(question), Value(3), Value(1), Value(5)).asInt() == kYes;
}

}  // namespace

Value buildCustomerRows() {
  DBSELECTAREA(korisniciAlias());
  ValueVector rows;
  DBGOTOP();
  while (!__EOF().asBool()) {
    eventPoll();
    rows.push_back(recordRow());
    DBSKIP();
  }
  Value out = Value::newArray();
  out.arr()->items = std::move(rows);
  return out;
}

Value loadCustomerRows() {
  KV_PROC("POPUNIKORISNIKE");
  WaitBox shown(kCustomersLoadingText);
  return buildCustomerRows();
}

CustomerResult saveCustomer(std::string_view name, std::string_view contact, const Value& rows,
                            CustomerView& view) {
  KV_PROC("SNIMIKORISNIKA");
  CustomerResult result;
  const std::string padded = paddedName(name);
  if (isBlankName(padded)) return refuse(view);
  const Value key = nameKey(padded);
  const std::string kontakt(contact);
  auto write = [&] {
    writeLockedRecord(korisniciAlias(), [&] {
      FIELDPUT(FIELDPOS(Value("Naziv")), Value(padded));
      FIELDPUT(FIELDPOS(Value("Kontakt")), Value(kontakt));
    });
  };
  DBSELECTAREA(korisniciAlias());
  bool exists = DBSEEK(key).asBool();
  if (!exists) {
    KV_LINE();
    const KeyAppend r = appendIfKeyFree(korisniciAlias(), "Korisnici.dbf", key, write);
    if (r == KeyAppend::Abandoned) {
      result.outcome = ListOutcome::Abandoned;
      return result;
    }
    // Another station stored the name meanwhile: its record is current and is written over.
    exists = r == KeyAppend::Exists;
  }
  if (exists) {
    KV_LINE();
    write();
  }
  DBSELECTAREA(korisniciAlias());
  const Value row = recordRow();
  const Value& r = rows.deref();
  int at = rowOfName(r, padded);
  if (at > 0) {
    r.arr()->items[at - 1] = row;
  } else {
    r.arr()->items.push_back(row);
    at = static_cast<int>(r.arrayLen());
  }
  result.outcome = ListOutcome::Done;
  result.row = at;
  view.showRows(at);
  return result;
}

CustomerResult deleteCustomer(std::string_view name, const Value& rows, CustomerView& view) {
  KV_PROC("BRISIKORISNIKA");
  CustomerResult result;
  const std::string padded = paddedName(name);
  if (isBlankName(padded)) return refuse(view);
  const std::string shown = shownName(padded);
  DBSELECTAREA(korisniciAlias());
  if (!DBSEEK(nameKey(padded)).asBool()) {
    MessageDlg(Value("Korisnik " + shown + " nije pronadjen u bazi podataka."), Value(2), Value(2),
               Value(5));
    result.outcome = ListOutcome::NotFound;
    view.clearEdits();
    view.focusName();
    return result;
  }
  if (!confirmed("Sigurno brisete Korisnika: " + shown + "?")) {
    result.outcome = ListOutcome::Declined;
    view.focusName();
    return result;
  }
  KV_LINE();
  DBSELECTAREA(korisniciAlias());
  Value deleted = Value::newArray();
  deleted.arr()->items.emplace_back("(" + trimRight(fieldText("Naziv")) + ")");
  deleted.arr()->items.emplace_back("(" + trimRight(fieldText("Kontakt")) + ")");
  deleteLockedRecord(korisniciAlias());
  // The row keeps showing the customer, in parentheses, until the list is loaded again.
  const int at = rowOfName(rows, padded);
  if (at > 0) {
    rows.deref().arr()->items[at - 1] = deleted;
    view.showRows(at);
  }
  result.row = at;
  result.outcome = ListOutcome::Done;
  view.clearEdits();
  MessageDlg(Value("Podaci o Korisniku su obrisani."), Value(0), Value(2), Value(5));
  view.focusName();
  return result;
}

CustomerResult deleteAllCustomers(const Value& rows, CustomerView& view) {
  KV_PROC("BRISISVEKORISNIKE");
  CustomerResult result;
  if (!confirmed("Sigurno brisete SVE Korisnike?")) {
    result.outcome = ListOutcome::Declined;
    return result;
  }
  KV_LINE();
  deleteAllRecords(korisniciAlias());
  MessageDlg(Value("Svi Korisnici su obrisani."), Value(0), Value(2), Value(5));
  const Value& r = rows.deref();
  if (r.isArray()) r.arr()->items.clear();
  view.showRows(0);
  view.clearEdits();
  result.outcome = ListOutcome::Done;
  return result;
}

int customerRowContaining(const Value& rows, std::string_view text) {
  const std::string want = upperText(text);
  const Value& r = rows.deref();
  for (std::size_t i = 0; i < r.arrayLen(); ++i)
    if (upperText(rowName(r.arr()->items[i])).find(want) != std::string::npos)
      return static_cast<int>(i) + 1;
  return 0;
}

int customerSearchRow(const Value& rows, std::string_view text) {
  const int at = customerRowContaining(rows, text);
  return at > 0 ? at : 1;
}

std::string searchTextAfterKey(std::string_view editText, int keyCode) {
  std::string out(editText);
  out.push_back(static_cast<char>(keyCode & 0xFF));
  return out;
}

}  // namespace kv::app
