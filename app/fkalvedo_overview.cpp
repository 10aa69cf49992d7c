#include "app/fkalvedo_overview.h"

#include <string>

#include "app/core/appsettings.h"
#include "app/core/messagedlg.h"
#include "app/core/orderoverview.h"
#include "app/core/overviewcolours.h"
#include "app/core/customers.h"
#include "runtime/error/callstack.h"
#include "runtime/format/numfmt.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/memvars.h"

namespace kv::app {

namespace {

const FormMethodEntry kMethods[] = {
    {"ColorPregled", &ColorPregled},
    {"PopuniPregled", &PopuniPregled},
    {"ePretragaNalogaOnKeyDown", &ePretragaNalogaOnKeyDown},
    {"sgPregledOnClick", &sgPregledOnClick},
    {"sgPregledOnDrawCell", &sgPregledOnDrawCell},
    {"sgPregledOnHeaderClick", &sgPregledOnHeaderClick},
};

constexpr int kEnter = 13;

// One direction for every column, for the life of the program: false sorts ascending.
bool g_descending = false;

// Makes `rows` the overview: aPregled and the grid's Items, the last order current; when it
// would be the only row in view, the view starts three rows higher so the orders before it
// show too. The rows are built whole before aPregled changes.
void showOverview(const Value& self, const Value& rows) {
  memvarPut("aPregled", rows);
  const Value grid = component(self, "sgPregled");
  send(grid, "_Items", {rows});
  const int count = static_cast<int>(rows.arrayLen());
  send(grid, "_Row", {Value(count)});
  if (send(grid, "TopRow").asInt() == count) {
    send(grid, "_Row", {Value(send(grid, "Row").asInt() - 3)});
  }
}

int keyOf(Args args) {
  const Value& key = arg(args, 1).deref();
  return key.isNumber() ? key.asInt() : 0;
}

std::string editText(const Value& self, const char* edit) {
  const Value v = send(component(self, edit), "Caption");
  return std::string(v.isString() ? v.str() : "");
}

struct ColourStep {
  const char* caption;
  Setting setting;
};
constexpr ColourStep kColourSteps[] = {
    {"Odaberite boju za Naloge NA CEKANJU", Setting::BojaNaCekanju},
    {"Odaberite boju za Naloge U OBRADI", Setting::BojaUObradi},
    {"Odaberite boju za ZAVRSENE naloge", Setting::BojaZavrsen},
};

}  // namespace

Value overviewRows() {
  Value rows = memvarGet("aPregled");
  if (!rows.isArray()) {
    rows = Value::newArray();
    memvarPut("aPregled", rows);
  }
  return rows;
}

void resetOverviewSort() {
  g_descending = false;
}

Value ColorPregled(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "COLORPREGLED");
  const bool on = !memvarGet("lColorPregled").asBool();
  memvarPut("lColorPregled", Value(on));
  if (on) {
    const Value dialog = component(self, "ColorDialog1");
    for (const ColourStep& step : kColourSteps) {
      KV_LINE();
      send(dialog, "_Caption", {Value(step.caption)});
      send(dialog, "_Color", {readSetting(step.setting)});
      // Cancelled: the key keeps its colour, and the next one is asked for.
      if (send(dialog, "Execute").asBool()) writeSetting(step.setting, send(dialog, "Color"));
    }
  }
  KV_LINE();
  send(component(self, "MainMenu1"), "SetChecked", {memvarGet("nColorPregled"), Value(on)});
  writeSetting(Setting::Boja, Value(on));
  send(self, "PopuniPregled");
  return Value();
}

Value PopuniPregled(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "POPUNIPREGLED");
  WaitBox box("Ucitava se Spisak Naloga. Molim sacekajte...");
  KV_LINE();
  showOverview(self, buildOverview());
  return Value();
}

Value ePretragaNalogaOnKeyDown(const Value& self, Args args) {
  KV_METHOD("TFKALVEDO", "EPRETRAGANALOGAONKEYDOWN");
  const int key = keyOf(args);
  const std::string text = editText(self, "ePretragaNaloga");
  if (key == kEnter) {
    // The table filtered for this one fill; a text of blanks only lists every order.
    const bool blank = text.find_first_not_of(' ') == std::string::npos;
    WaitBox box("Ucitava se Spisak Naloga. Molim sacekajte...");
    KV_LINE();
    showOverview(self, buildFilteredOverview(blank ? std::string() : text));
    return Value();
  }
  // The key comes before its character is in the edit.
  const int row = searchOverview(overviewRows(), searchTextAfterKey(text, key));
  send(component(self, "sgPregled"), "_Row", {Value(row)});
  return Value();
}

Value sgPregledOnClick(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "SGPREGLEDONCLICK");
  const Value number = send(component(self, "sgPregled"), "GetData", {Value(1)});
  // A deleted order's row, "(00058)", reads as 0: no order, a blank form.
  send(component(self, "eBrojNaloga"), "_Caption", {number.isString() ? VAL(number) : Value(0)});
  KV_LINE();
  send(self, "NadjiNalog");
  return Value();
}

Value sgPregledOnDrawCell(const Value&, Args args) {
  KV_METHOD("TFKALVEDO", "SGPREGLEDONDRAWCELL");
  const Value& grid = arg(args, 0);
  int colour = kWhite;
  if (memvarGet("lColorPregled").asBool()) {
    const Value status = send(grid, "GetData", {Value(kOverviewStatusColumn)});
    colour = statusColours().colourOf(status.isString() ? status.str() : std::string_view());
  }
  assignArg(args, 4, Value(colour));
  return Value();
}

Value sgPregledOnHeaderClick(const Value& self, Args args) {
  KV_METHOD("TFKALVEDO", "SGPREGLEDONHEADERCLICK");
  const Value& c = arg(args, 1).deref();
  WaitBox box("Sortiranje u toku. Molim sacekajte...");
  KV_LINE();
  sortOverview(overviewRows(), c.isNumber() ? c.asInt() : 0, g_descending);
  send(component(self, "sgPregled"), "Refresh");
  return Value();
}

std::span<const FormMethodEntry> overviewMethods() {
  return kMethods;
}

}  // namespace kv::app
