#include "app/core/manufacturers.h"

#include "app/core/listnames.h"
#include "app/core/messagedlg.h"
#include "app/core/uniqueappend.h"
#include "engine/area/dbfunc.h"
#include "runtime/error/callstack.h"
#include "runtime/lang/eventpoll.h"

namespace kv::app {

using namespace kv::engine;

namespace {

constexpr int kYes = 6;
// The alias, made when used: a value held from the program's start to its end would be
// counted by the leak report.
Value proizTelAlias() {
  return Value("ProizTel");
}

bool confirmed(const std::string& question) {
  return MessageDlg(Value(question), Value(3), Value(1), Value(5)).asInt() == kYes;
}

void box(const std::string& text, int type) {
  MessageDlg(Value(text), Value(type), Value(2), Value(5));
}

}  // namespace

std::string makerInputPicture() {
  return std::string(kNameWidth, 'X');
}

MakerList buildMakerList(std::string_view exact) {
  DBSELECTAREA(proizTelAlias());
  const Value naziv = FIELDPOS(Value("Naziv"));
  MakerList list;
  ValueVector items;
  items.emplace_back(kMakerPlaceholder);
  DBGOTOP();
  while (!__EOF().asBool()) {
    eventPoll();
    Value name = FIELDGET(naziv);
    if (!exact.empty() && name.str() == exact) list.selected = static_cast<int>(items.size()) + 1;
    items.push_back(std::move(name));
    DBSKIP();
  }
  list.items = Value::newArray();
  list.items.arr()->items = std::move(items);
  return list;
}

MakerResult addManufacturer(std::string_view typed) {
  KV_PROC("DODAJPROIZVODJACA");
  MakerResult result;
  const std::string padded = paddedName(typed);
  if (isBlankName(padded)) {
    box("Niste uneli Naziv Proizvodjaca.", 2);
    return result;
  }
  const Value key = nameKey(padded);
  auto write = [&] {
    writeLockedRecord(proizTelAlias(), [&] { FIELDPUT(FIELDPOS(Value("Naziv")), Value(padded)); });
  };
  DBSELECTAREA(proizTelAlias());
  bool exists = DBSEEK(key).asBool();
  if (!exists) {
    KV_LINE();
    const KeyAppend r = appendIfKeyFree(proizTelAlias(), "ProizTel.dbf", key, write);
    if (r == KeyAppend::Abandoned) {
      result.outcome = ListOutcome::Abandoned;
      return result;
    }
    exists = r == KeyAppend::Exists;
  }
  if (exists) {
    KV_LINE();
    write();
  }
  KV_LINE();
  result.list = buildMakerList(padded);
  result.selectItem = true;
  result.outcome = ListOutcome::Done;
  return result;
}

MakerResult deleteManufacturer(std::string_view caption) {
  KV_PROC("BRISIPROIZVODJACA");
  MakerResult result;
  const std::string padded = paddedName(caption);
  const std::string shown = shownName(padded);
  DBSELECTAREA(proizTelAlias());
  if (DBSEEK(nameKey(padded)).asBool()) {
    if (confirmed("Sigurno brisete Proizvodjaca: " + shown + "?")) {
      KV_LINE();
      deleteLockedRecord(proizTelAlias());
      box("Proizvodjac je obrisan.", 0);
      result.outcome = ListOutcome::Done;
    } else {
      result.outcome = ListOutcome::Declined;
    }
  } else {
    box("Proizvodjac " + shown + " nije pronadjen u bazi podataka.", 2);
    result.outcome = ListOutcome::NotFound;
  }
  KV_LINE();
  result.list = buildMakerList();
  return result;
}

MakerResult deleteAllManufacturers() {
  KV_PROC("BRISISVEPROIZVODJACE");
  MakerResult result;
  if (!confirmed("Sigurno brisete SVE Proizvodjace?")) {
    result.outcome = ListOutcome::Declined;
    return result;
  }
  KV_LINE();
  deleteAllRecords(proizTelAlias());
  box("Svi Proizvodjaci su obrisani.", 0);
  result.list.items = Value::newArray();
  result.list.items.arr()->items.emplace_back(kMakerPlaceholder);
  result.outcome = ListOutcome::Done;
  return result;
}

}  // namespace kv::app
