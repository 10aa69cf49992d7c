#include "app/fkalvedo_lists.h"

#include "app/core/messagedlg.h"
#include "engine/area/dbfunc.h"
#include "runtime/error/callstack.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/eventpoll.h"
#include "runtime/lang/memvars.h"
#include "runtime/lib/arrays.h"

namespace kv::app {

namespace {

const FormMethodEntry kMethods[] = {
    {"BrisiKorisnika", &BrisiKorisnika},
    {"BrisiProizvodjaca", &BrisiProizvodjaca},
    {"BrisiSveKorisnike", &BrisiSveKorisnike},
    {"BrisiSveProizvodjace", &BrisiSveProizvodjace},
    {"DodajProizvodjaca", &DodajProizvodjaca},
    {"PopuniKorisnike", &PopuniKorisnike},
    {"SnimiKorisnika", &SnimiKorisnika},
    {"eKontaktKorisnikaOnKeyDown", &eKontaktKorisnikaOnKeyDown},
    {"eNazivKorisnikaOnEnter", &eNazivKorisnikaOnEnter},
    {"eNazivKorisnikaOnKeyDown", &eNazivKorisnikaOnKeyDown},
    {"sgKorisniciOnClick", &sgKorisniciOnClick},
};

}  // namespace

Value BrisiKorisnika(const Value&, Args) {
  return notBuiltYet("BrisiKorisnika");
}

Value BrisiProizvodjaca(const Value&, Args) {
  return notBuiltYet("BrisiProizvodjaca");
}

Value BrisiSveKorisnike(const Value&, Args) {
  return notBuiltYet("BrisiSveKorisnike");
}

Value BrisiSveProizvodjace(const Value&, Args) {
  return notBuiltYet("BrisiSveProizvodjace");
}

Value DodajProizvodjaca(const Value&, Args) {
  return notBuiltYet("DodajProizvodjaca");
}

Value PopuniKorisnike(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "POPUNIKORISNIKE");
  using namespace kv::engine;
  const Value box = MessageDlg(Value("Ucitava se Spisak Korisnika. Molim sacekajte..."), Value(4));
  KV_LINE();
  DBSELECTAREA(Value("Korisnici"));
  const Value naziv = FIELDPOS(Value("Naziv")), kontakt = FIELDPOS(Value("Kontakt"));
  Value rows = Value::newArray();
  DBGOTOP();
  while (!__EOF().asBool()) {
    eventPoll();
    Value row = Value::newArray();
    AADD(row, FIELDGET(naziv));
    AADD(row, FIELDGET(kontakt));
    AADD(rows, row);
    DBSKIP();
  }
  memvarPut("aKorisnici", rows);
  const Value grid = component(self, "sgKorisnici");
  send(grid, "_Items", {rows});
  send(grid, "_Row", {Value(1)});
  closeWaitBox(box);
  return Value();
}

Value SnimiKorisnika(const Value&, Args) {
  return notBuiltYet("SnimiKorisnika");
}

Value eKontaktKorisnikaOnKeyDown(const Value&, Args) {
  return notBuiltYet("eKontaktKorisnikaOnKeyDown");
}

Value eNazivKorisnikaOnEnter(const Value&, Args) {
  return notBuiltYet("eNazivKorisnikaOnEnter");
}

Value eNazivKorisnikaOnKeyDown(const Value&, Args) {
  return notBuiltYet("eNazivKorisnikaOnKeyDown");
}

Value sgKorisniciOnClick(const Value&, Args) {
  return notBuiltYet("sgKorisniciOnClick");
}

std::span<const FormMethodEntry> listMethods() {
  return kMethods;
}

}  // namespace kv::app
