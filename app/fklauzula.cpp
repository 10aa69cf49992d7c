#include "app/fklauzula.h"

#include <string>

#include "app/core/clausefile.h"
#include "runtime/error/callstack.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/symbols.h"
#include "runtime/lib/arrays.h"
#include "ui/controls/button.h"
#include "ui/controls/memo.h"
#include "ui/core/classlang.h"
#include "ui/forms/form.h"

namespace kv::app {

namespace {

constexpr const char* kComponents[] = {"MemoKlauzula", "bSnimiKlauzulu", "bOdustaniKlauzula"};

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
  return TFKLAUZULA_Create(arg(a, 0), arg(a, 1));
}
Value fnOnShow(Args a) {
  fKlauzulaOnShow(arg(a, 0), arg(a, 1));
  return Value();
}
Value fnSnimi(Args a) {
  bSnimiKlauzuluOnClick(arg(a, 0), arg(a, 1));
  return Value();
}
Value fnOdustani(Args a) {
  bOdustaniKlauzulaOnClick(arg(a, 0), arg(a, 1));
  return Value();
}

Value declare() {
  registerFunction("TFKLAUZULA:CREATE", &fnCreate);
  registerFunction("TFKLAUZULA:FKLAUZULAONSHOW", &fnOnShow);
  registerFunction("TFKLAUZULA:BSNIMIKLAUZULUONCLICK", &fnSnimi);
  registerFunction("TFKLAUZULA:BODUSTANIKLAUZULAONCLICK", &fnOdustani);
  const Value module = makeBlock([](Args) { return Value(); });
  Value handle = ui::__CLASSDEF(Value("TFKLAUZULA"), module, ui::TForm());
  Value names = Value::newArray();
  for (const char* name : kComponents) AADD(names, Value(name));
  ui::__CLASSDAT(handle, Value(0), Value(0), names);
  ui::__CLASSMET(handle, Value(0), Value(0), Value("Create"), module, Value("TFKLAUZULA:CREATE"));
  ui::__CLASSMET(handle, Value(1), Value(0), Value("fKlauzulaOnShow"), module,
                 Value("TFKLAUZULA:FKLAUZULAONSHOW"));
  ui::__CLASSMET(handle, Value(1), Value(0), Value("bSnimiKlauzuluOnClick"), module,
                 Value("TFKLAUZULA:BSNIMIKLAUZULUONCLICK"));
  ui::__CLASSMET(handle, Value(1), Value(0), Value("bOdustaniKlauzulaOnClick"), module,
                 Value("TFKLAUZULA:BODUSTANIKLAUZULAONCLICK"));
  return handle;
}

}  // namespace

Value TFKLAUZULA() {
  static Value handle;
  if (handle.isNil()) handle = declare();
  return ui::__CLASSOBJ(handle);
}

Value TFKLAUZULA_Create(const Value& self, const Value& owner) {
  KV_METHOD("TFKLAUZULA", "CREATE");
  ui::superSend(self, "Create", {owner});
  KV_LINE();
  const Value form = self.deref();
  send(form, "_Caption", {Value("Kalvedo : Tekst Klauzule na Nalogu")});
  send(form, "_Position", {Value(5)});
  send(form, "_ClientWidth", {Value(721)});
  send(form, "_ClientHeight", {Value(155)});
  Value memo = make(form, &ui::TMemo, "MemoKlauzula");
  send(memo, "SetBounds", {Value(8), Value(16), Value(713), Value(105)});
  Value snimi = make(form, &ui::TButton, "bSnimiKlauzulu");
  send(snimi, "SetPos", {Value(568), Value(128)});
  send(snimi, "_Caption", {Value("Snimi")});
  send(snimi, "_OnClick", {event(form, "bSnimiKlauzuluOnClick")});
  Value odustani = make(form, &ui::TButton, "bOdustaniKlauzula");
  send(odustani, "SetPos", {Value(648), Value(128)});
  send(odustani, "_Caption", {Value("Odustani")});
  send(odustani, "_OnClick", {event(form, "bOdustaniKlauzulaOnClick")});
  send(form, "_OnShow", {event(form, "fKlauzulaOnShow")});
  return form;
}

void fKlauzulaOnShow(const Value& self, const Value&) {
  KV_METHOD("TFKLAUZULA", "FKLAUZULAONSHOW");
  send(send(self, "MemoKlauzula"), "LoadFromFile", {Value(kClauseFile)});
}

void bSnimiKlauzuluOnClick(const Value& self, const Value&) {
  KV_METHOD("TFKLAUZULA", "BSNIMIKLAUZULUONCLICK");
  const Value lines = send(send(self, "MemoKlauzula"), "Lines");
  KV_LINE();
  if (!saveClause(lines.isString() ? lines.str() : "")) return;
  send(self, "Close");
}

void bOdustaniKlauzulaOnClick(const Value& self, const Value&) {
  KV_METHOD("TFKLAUZULA", "BODUSTANIKLAUZULAONCLICK");
  send(self, "Close");
}

}  // namespace kv::app
