#include "app/fkalvedo_orders.h"

#include "app/core/messagedlg.h"
#include "app/core/orderoverview.h"
#include "runtime/error/callstack.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/memvars.h"

namespace kv::app {

namespace {

const FormMethodEntry kMethods[] = {
    {"ColorPregled", &ColorPregled},
    {"DozvoliIzmenuNaloga", &DozvoliIzmenuNaloga},
    {"NadjiNalog", &NadjiNalog},
    {"NoviBrojNAloga", &NoviBrojNAloga},
    {"NoviNalog", &NoviNalog},
    {"PopuniPregled", &PopuniPregled},
    {"bBrisiNalogOnClick", &bBrisiNalogOnClick},
    {"bSnimiNalogOnClick", &bSnimiNalogOnClick},
    {"cbOstaloOnChange", &cbOstaloOnChange},
    {"eBrojNalogaOnKeyDown", &eBrojNalogaOnKeyDown},
    {"eOstaloPriborOnEnter", &eOstaloPriborOnEnter},
    {"eOstaloPriborOnExit", &eOstaloPriborOnExit},
    {"eOstaloTelefonOnEnter", &eOstaloTelefonOnEnter},
    {"eOstaloTelefonOnExit", &eOstaloTelefonOnExit},
    {"ePretragaNalogaOnKeyDown", &ePretragaNalogaOnKeyDown},
    {"mOpisKvaraOnEnter", &mOpisKvaraOnEnter},
    {"mOpisKvaraOnExit", &mOpisKvaraOnExit},
    {"rbOstaloOnEnter", &rbOstaloOnEnter},
    {"sgPregledOnClick", &sgPregledOnClick},
    {"sgPregledOnDrawCell", &sgPregledOnDrawCell},
    {"sgPregledOnHeaderClick", &sgPregledOnHeaderClick},
};

}  // namespace

Value ColorPregled(const Value&, Args) {
  return notBuiltYet("ColorPregled");
}

Value DozvoliIzmenuNaloga(const Value&, Args) {
  return notBuiltYet("DozvoliIzmenuNaloga");
}

Value NadjiNalog(const Value&, Args) {
  return notBuiltYet("NadjiNalog");
}

Value NoviBrojNAloga(const Value&, Args) {
  return notBuiltYet("NoviBrojNAloga");
}

Value NoviNalog(const Value&, Args) {
  return notBuiltYet("NoviNalog");
}

Value PopuniPregled(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "POPUNIPREGLED");
  const Value box = MessageDlg(Value("Ucitava se Spisak Naloga. Molim sacekajte..."), Value(4));
  KV_LINE();
  memvarPut("aPregled", buildOverview());
  const Value grid = component(self, "sgPregled");
  const Value rows = memvarGet("aPregled");
  send(grid, "_Items", {rows});
  // The last order is current; when it would be the only row in view, the view starts three
  // rows higher so that the orders before it show too.
  const int count = static_cast<int>(rows.arrayLen());
  send(grid, "_Row", {Value(count)});
  if (send(grid, "TopRow").asInt() == count) {
    send(grid, "_Row", {Value(send(grid, "Row").asInt() - 3)});
  }
  closeWaitBox(box);
  return Value();
}

Value bBrisiNalogOnClick(const Value&, Args) {
  return notBuiltYet("bBrisiNalogOnClick");
}

Value bSnimiNalogOnClick(const Value&, Args) {
  return notBuiltYet("bSnimiNalogOnClick");
}

Value cbOstaloOnChange(const Value&, Args) {
  return notBuiltYet("cbOstaloOnChange");
}

Value eBrojNalogaOnKeyDown(const Value&, Args) {
  return notBuiltYet("eBrojNalogaOnKeyDown");
}

Value eOstaloPriborOnEnter(const Value&, Args) {
  return notBuiltYet("eOstaloPriborOnEnter");
}

Value eOstaloPriborOnExit(const Value&, Args) {
  return notBuiltYet("eOstaloPriborOnExit");
}

Value eOstaloTelefonOnEnter(const Value&, Args) {
  return notBuiltYet("eOstaloTelefonOnEnter");
}

Value eOstaloTelefonOnExit(const Value&, Args) {
  return notBuiltYet("eOstaloTelefonOnExit");
}

Value ePretragaNalogaOnKeyDown(const Value&, Args) {
  return notBuiltYet("ePretragaNalogaOnKeyDown");
}

Value mOpisKvaraOnEnter(const Value&, Args) {
  return notBuiltYet("mOpisKvaraOnEnter");
}

Value mOpisKvaraOnExit(const Value&, Args) {
  return notBuiltYet("mOpisKvaraOnExit");
}

Value rbOstaloOnEnter(const Value&, Args) {
  return notBuiltYet("rbOstaloOnEnter");
}

Value sgPregledOnClick(const Value&, Args) {
  return notBuiltYet("sgPregledOnClick");
}

Value sgPregledOnDrawCell(const Value&, Args) {
  return notBuiltYet("sgPregledOnDrawCell");
}

Value sgPregledOnHeaderClick(const Value&, Args) {
  return notBuiltYet("sgPregledOnHeaderClick");
}

std::span<const FormMethodEntry> orderMethods() {
  return kMethods;
}

}  // namespace kv::app
