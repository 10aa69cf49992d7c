#include "app/fkalvedo_orders.h"

#include <string>

#include "app/core/customers.h"
#include "app/core/orderedit.h"
#include "app/core/orderoverview.h"
#include "app/core/orderrecord.h"
#include "app/fkalvedo_orderform.h"
#include "app/fkalvedo_overview.h"
#include "engine/area/dbfunc.h"
#include "runtime/error/callstack.h"
#include "runtime/format/dates.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/memvars.h"
#include "ui/core/messageloop.h"

namespace kv::app {

namespace {

const FormMethodEntry kMethods[] = {
    {"DozvoliIzmenuNaloga", &DozvoliIzmenuNaloga},
    {"NadjiNalog", &NadjiNalog},
    {"NoviBrojNAloga", &NoviBrojNAloga},
    {"NoviNalog", &NoviNalog},
    {"bBrisiNalogOnClick", &bBrisiNalogOnClick},
    {"bSnimiNalogOnClick", &bSnimiNalogOnClick},
    {"cbOstaloOnChange", &cbOstaloOnChange},
    {"eBrojNalogaOnKeyDown", &eBrojNalogaOnKeyDown},
    {"eOstaloPriborOnEnter", &eOstaloPriborOnEnter},
    {"eOstaloPriborOnExit", &eOstaloPriborOnExit},
    {"eOstaloTelefonOnEnter", &eOstaloTelefonOnEnter},
    {"eOstaloTelefonOnExit", &eOstaloTelefonOnExit},
    {"mOpisKvaraOnEnter", &mOpisKvaraOnEnter},
    {"mOpisKvaraOnExit", &mOpisKvaraOnExit},
    {"rbOstaloOnEnter", &rbOstaloOnEnter},
};

constexpr int kEnter = 13;

// The wait box of a record another station holds, kept painted while the save waits (paint
// messages only: the user's input waits until the save is done).
class BusyOrderNotice : public WaitBoxNotice {
 public:
  BusyOrderNotice() : WaitBoxNotice(kOrderBusyText) {}
  void pass() override {
    ui::updateWindows([](void*) { return true; }, nullptr, 0);
  }
};

void focus(const Value& self, const char* control) {
  send(component(self, control), "SetFocus");
}

bool blankText(const Value& self, const char* edit) {
  const Value v = send(component(self, edit), "Caption");
  const std::string_view s = v.isString() ? v.str() : std::string_view();
  return s.find_first_not_of(' ') == std::string_view::npos;
}

std::vector<std::string> makerEntries(const Value& self) {
  std::vector<std::string> out;
  const Value items = send(component(self, "csProizvodjaciTelefona"), "Items");
  for (std::size_t i = 0; i < items.arrayLen(); ++i) {
    const Value& e = items.arr()->items[i];
    out.emplace_back(e.isString() ? e.str() : "");
  }
  return out;
}

// Shows the overview's rows with `row` current.
void showOverviewRow(const Value& self, int row) {
  const Value grid = component(self, "sgPregled");
  send(grid, "_Items", {overviewRows()});
  send(grid, "_Row", {Value(row)});
}

// The next free number in the number edit.
void putNextNumber(const Value& self) {
  send(component(self, "eBrojNaloga"), "_Caption", {Value(nextOrderNumber())});
}

}  // namespace

Value DozvoliIzmenuNaloga(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "DOZVOLIIZMENUNALOGA");
  enableOrderCommands(self, true);
  return Value();
}

Value NadjiNalog(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "NADJINALOG");
  const Value number = orderNumberValue(self);
  const int n = classifyOrderNumber(number) == OrderNumber::Valid ? number.asInt() : 0;
  KV_LINE();
  // The record is read whole before any control changes.
  if (n > 0 && orderExists(n)) {
    const OrderForm f = readOrderForm(makerEntries(self));
    showOrderControls(self, f);
    enableOrderCommands(self, !f.zavrsen);
  } else {
    showOrderControls(self, blankOrderForm(n, DATE()));
    enableOrderCommands(self, true);
  }
  KV_LINE();
  const Value customer = send(component(self, "eNazivKorisnika"), "Caption");
  const std::string_view name = customer.isString() ? customer.str() : std::string_view();
  // An empty text is found nowhere.
  Value customers = memvarGet("aKorisnici");
  send(component(self, "sgKorisnici"), "_Row",
       {Value(name.empty() || !customers.isArray() ? 0 : customerRowContaining(customers, name))});
  const std::string numberText = n > 0 ? orderNumberText(n) : std::string();
  send(component(self, "sgPregled"), "_Row",
       {Value(overviewRowContaining(overviewRows(), numberText))});
  return Value();
}

Value NoviBrojNAloga(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "NOVIBROJNALOGA");
  putNextNumber(self);
  send(component(self, "rbNaCekanju"), "_Checked", {Value(true)});
  enableOrderCommands(self, true);
  focus(self, "eBrojNaloga");
  return Value();
}

Value NoviNalog(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "NOVINALOG");
  const int next = nextOrderNumber();
  KV_LINE();
  send(component(self, "eBrojNaloga"), "_Caption", {Value(next)});
  showOrderControls(self, blankOrderForm(next, DATE()));
  enableOrderCommands(self, true);
  focus(self, "eBrojNaloga");
  return Value();
}

Value bBrisiNalogOnClick(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "BBRISINALOGONCLICK");
  BusyOrderNotice notice;
  const EditResult r = deleteOrder(orderNumberValue(self), overviewRows(), &notice);
  KV_LINE();
  if (r.outcome == EditOutcome::Done && r.row > 0) showOverviewRow(self, r.row);
  focus(self, "eBrojNaloga");
  return Value();
}

Value bSnimiNalogOnClick(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "BSNIMINALOGONCLICK");
  const OrderForm f = readOrderControls(self);
  BusyOrderNotice notice;
  KV_LINE();
  const EditResult r = saveOrder(f, overviewRows(), &notice);
  KV_LINE();
  if (r.outcome == EditOutcome::Done) {
    showOverviewRow(self, r.row);
    enableOrderCommands(self, !f.zavrsen);
  }
  focus(self, "eBrojNaloga");
  return Value();
}

Value cbOstaloOnChange(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "CBOSTALOONCHANGE");
  if (send(component(self, "cbOstalo"), "Checked").asBool()) focus(self, "eOstaloPribor");
  return Value();
}

Value eBrojNalogaOnKeyDown(const Value& self, Args args) {
  KV_METHOD("TFKALVEDO", "EBROJNALOGAONKEYDOWN");
  const Value& k = arg(args, 1).deref();
  const int key = k.isNumber() ? k.asInt() : 0;
  const Value number = orderNumberValue(self);
  if (key == kEnter) {
    // A missing number, or one beyond the table's five digits, is refused with its box.
    if (acceptOrderNumber(number)) send(self, "NadjiNalog");
    return Value();
  }
  // The number the edit holds once the key is taken: an order of that number is protected.
  KV_LINE();
  enableOrderCommands(self, !orderExists(numberAfterKey(number, key)));
  return Value();
}

Value eOstaloPriborOnEnter(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "EOSTALOPRIBORONENTER");
  send(component(self, "cbOstalo"), "_Checked", {Value(true)});
  return Value();
}

Value eOstaloPriborOnExit(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "EOSTALOPRIBORONEXIT");
  if (blankText(self, "eOstaloPribor"))
    send(component(self, "cbOstalo"), "_Checked", {Value(false)});
  return Value();
}

Value eOstaloTelefonOnEnter(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "EOSTALOTELEFONONENTER");
  send(component(self, "rbOstalo"), "_Checked", {Value(true)});
  return Value();
}

Value eOstaloTelefonOnExit(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "EOSTALOTELEFONONEXIT");
  if (blankText(self, "eOstaloTelefon"))
    send(component(self, "rbOstalo"), "_Checked", {Value(false)});
  return Value();
}

Value mOpisKvaraOnEnter(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "MOPISKVARAONENTER");
  send(send(component(self, "lOpisKvara"), "Font"), "_Bold", {Value(true)});
  return Value();
}

Value mOpisKvaraOnExit(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "MOPISKVARAONEXIT");
  send(send(component(self, "lOpisKvara"), "Font"), "_Bold", {Value(false)});
  return Value();
}

Value rbOstaloOnEnter(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "RBOSTALOONENTER");
  focus(self, "eOstaloTelefon");
  return Value();
}

std::span<const FormMethodEntry> orderMethods() {
  return kMethods;
}

}  // namespace kv::app
