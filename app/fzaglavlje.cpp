#include "app/fzaglavlje.h"

#include <array>
#include <string>

#include "app/core/settingscommands.h"
#include "runtime/error/callstack.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/symbols.h"
#include "runtime/lib/arrays.h"
#include "ui/controls/button.h"
#include "ui/controls/labelededit.h"
#include "ui/core/classlang.h"
#include "ui/forms/form.h"

namespace kv::app {

namespace {

// The edits of the four header lines, in the order of kHeaderLines, with their tops and labels.
struct HeaderEdit {
  const char* name;
  int top;
  const char* label;
};
constexpr HeaderEdit kEdits[] = {
    {"eNazivFirmeZaglavlje", 32, "Naziv firme:"},
    {"eDrugiRedZaglavlje", 72, "Drugi red (delatnost ili reklamni slogan):"},
    {"eTreciRedZaglavlje", 112, "Treci red (mesto, ulica i broj, telefon):"},
    {"eCetvrtiRedZaglavlje", 152, "Cetvrti red (kontakt, web adresa, mail):"}};

constexpr const char* kComponents[] = {"eNazivFirmeZaglavlje", "eDrugiRedZaglavlje",
                                       "eTreciRedZaglavlje",   "eCetvrtiRedZaglavlje",
                                       "bSnimiZaglavlje",      "bOdustaniZaglavlje"};

Value picture(int width) {
  return Value(std::string(static_cast<std::size_t>(width), 'X'));
}

Value make(const Value& form, Value (*cls)(), const char* name) {
  Value c = cls();
  send(c, "Create", {form});
  send(form, std::string("_") + name, {c});
  return c;
}

// The block of an event: sends `method` to the form with the event's sender.
Value event(const Value& form, const char* method) {
  return makeBlock([form, method](Args a) { return send(form, method, {arg(a, 0)}); });
}

Value fnCreate(Args a) {
  return TFZAGLAVLJE_Create(arg(a, 0), arg(a, 1));
}
Value fnOnShow(Args a) {
  fZaglavljeOnShow(arg(a, 0), arg(a, 1));
  return Value();
}
Value fnSnimi(Args a) {
  bSnimiZaglavljeOnClick(arg(a, 0), arg(a, 1));
  return Value();
}
Value fnOdustani(Args a) {
  bOdustaniZaglavljeOnClick(arg(a, 0), arg(a, 1));
  return Value();
}

Value declare() {
  registerFunction("TFZAGLAVLJE:CREATE", &fnCreate);
  registerFunction("TFZAGLAVLJE:FZAGLAVLJEONSHOW", &fnOnShow);
  registerFunction("TFZAGLAVLJE:BSNIMIZAGLAVLJEONCLICK", &fnSnimi);
  registerFunction("TFZAGLAVLJE:BODUSTANIZAGLAVLJEONCLICK", &fnOdustani);
  const Value module = makeBlock([](Args) { return Value(); });
  Value handle = ui::__CLASSDEF(Value("TFZAGLAVLJE"), module, ui::TForm());
  Value names = Value::newArray();
  for (const char* name : kComponents) AADD(names, Value(name));
  ui::__CLASSDAT(handle, Value(0), Value(0), names);
  ui::__CLASSMET(handle, Value(0), Value(0), Value("Create"), module, Value("TFZAGLAVLJE:CREATE"));
  ui::__CLASSMET(handle, Value(1), Value(0), Value("fZaglavljeOnShow"), module,
                 Value("TFZAGLAVLJE:FZAGLAVLJEONSHOW"));
  ui::__CLASSMET(handle, Value(1), Value(0), Value("bSnimiZaglavljeOnClick"), module,
                 Value("TFZAGLAVLJE:BSNIMIZAGLAVLJEONCLICK"));
  ui::__CLASSMET(handle, Value(1), Value(0), Value("bOdustaniZaglavljeOnClick"), module,
                 Value("TFZAGLAVLJE:BODUSTANIZAGLAVLJEONCLICK"));
  return handle;
}

}  // namespace

Value TFZAGLAVLJE() {
  static Value handle;
  if (handle.isNil()) handle = declare();
  return ui::__CLASSOBJ(handle);
}

Value TFZAGLAVLJE_Create(const Value& self, const Value& owner) {
  KV_METHOD("TFZAGLAVLJE", "CREATE");
  ui::superSend(self, "Create", {owner});
  KV_LINE();
  const Value form = self.deref();
  send(form, "_Caption", {Value("Kalvedo : Zaglavlje Naloga")});
  send(form, "_BorderStyle", {Value(3)});
  send(form, "_Position", {Value(5)});
  send(form, "_ClientWidth", {Value(331)});
  send(form, "_ClientHeight", {Value(222)});
  for (std::size_t i = 0; i < kHeaderLines.size(); ++i) {
    Value e = make(form, &ui::TLabeledEdit, kEdits[i].name);
    send(e, "SetBounds", {Value(16), Value(kEdits[i].top), Value(297), Value(21)});
    send(e, "_LabelCaption", {Value(kEdits[i].label)});
  }
  Value snimi = make(form, &ui::TButton, "bSnimiZaglavlje");
  send(snimi, "SetPos", {Value(160), Value(184)});
  send(snimi, "_Caption", {Value("Snimi")});
  send(snimi, "_OnClick", {event(form, "bSnimiZaglavljeOnClick")});
  Value odustani = make(form, &ui::TButton, "bOdustaniZaglavlje");
  send(odustani, "SetPos", {Value(240), Value(184)});
  send(odustani, "_Caption", {Value("Odustani")});
  send(odustani, "_OnClick", {event(form, "bOdustaniZaglavljeOnClick")});
  send(form, "_OnShow", {event(form, "fZaglavljeOnShow")});
  return form;
}

void fZaglavljeOnShow(const Value& self, const Value&) {
  KV_METHOD("TFZAGLAVLJE", "FZAGLAVLJEONSHOW");
  const std::array<std::string, 4> lines = readHeaderLines();
  for (std::size_t i = 0; i < kHeaderLines.size(); ++i) {
    const Value e = send(self, kEdits[i].name);
    send(e, "_Picture", {picture(kHeaderLines[i].maxLength)});
    send(e, "_ReadOnly", {Value(false)});
    send(e, "_Caption", {Value(lines[i])});
  }
}

void bSnimiZaglavljeOnClick(const Value& self, const Value&) {
  KV_METHOD("TFZAGLAVLJE", "BSNIMIZAGLAVLJEONCLICK");
  std::array<std::string, 4> lines;
  for (std::size_t i = 0; i < kHeaderLines.size(); ++i) {
    const Value text = send(send(self, kEdits[i].name), "Caption");
    lines[i] = std::string(text.isString() ? text.str() : "");
  }
  writeHeaderLines(lines);
  send(self, "Close");
}

void bOdustaniZaglavljeOnClick(const Value& self, const Value&) {
  KV_METHOD("TFZAGLAVLJE", "BODUSTANIZAGLAVLJEONCLICK");
  send(self, "Close");
}

}  // namespace kv::app
