#include "app/fkalvedo.h"

#include "app/core/datafiles.h"
#include "runtime/error/callstack.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/memvars.h"
#include "runtime/lang/symbols.h"
#include "runtime/lib/arrays.h"
#include "ui/core/classlang.h"
#include "ui/forms/form.h"

namespace kv::app {

namespace {

// The maker's credit that ends the titles.
constexpr const char* kMakerCredit = " - radionica Kalvedo";

// The main window's components, in the order of the class's instance variables.
constexpr const char* kComponents[] = {"ColorDialog1",
                                       "GroupBox1",
                                       "GroupBox2",
                                       "Image1",
                                       "Label1",
                                       "MainMenu1",
                                       "Panel1",
                                       "PopupMenuKorisnika",
                                       "PopupMenuNalog",
                                       "PopupMenuProizvodjaci",
                                       "Timer1",
                                       "bBrisiNalog",
                                       "bOsveziPregled",
                                       "bSnimiNalog",
                                       "bStampajNalog",
                                       "cbBaterija",
                                       "cbKartica",
                                       "cbLinijskiKabl",
                                       "cbOstalo",
                                       "cbPunjac",
                                       "csProizvodjaciTelefona",
                                       "dtpDatumNaloga",
                                       "eBrojNaloga",
                                       "eKonCena",
                                       "eKontaktKorisnika",
                                       "eModelTelefona",
                                       "eNapomenaServis",
                                       "eNapomenaTelefon",
                                       "eNazivKorisnika",
                                       "eOkvCena",
                                       "eOstaloPribor",
                                       "eOstaloTelefon",
                                       "ePretragaNaloga",
                                       "eSerijskiBrojTelefona",
                                       "gbKorisnik",
                                       "gbNalog",
                                       "gbPregled",
                                       "gbServis",
                                       "gbTelefon",
                                       "lOpisKvara",
                                       "mOpisKvara",
                                       "rbBezicniTelefon",
                                       "rbMobilniTelefon",
                                       "rbNaCekanju",
                                       "rbOstalo",
                                       "rbTelefaksUredjaj",
                                       "rbUObradi",
                                       "rbZavrsen",
                                       "rbZicniTelefon",
                                       "sbMenuKorisnika",
                                       "sbMenuNalog",
                                       "sbMenuProizvodjacaTelefona",
                                       "sgKorisnici",
                                       "sgPregled"};

// The methods by name: each receives Self first.
Value fnCreate(Args a) {
  return TFKalvedo_Create(arg(a, 0), arg(a, 1));
}
Value fnOnCreate(Args a) {
  fKalvedoOnCreate(arg(a, 0), arg(a, 1));
  return Value();
}

Value declare() {
  registerFunction("TFKALVEDO:CREATE", &fnCreate);
  registerFunction("TFKALVEDO:FKALVEDOONCREATE", &fnOnCreate);
  const Value module = makeBlock([](Args) { return Value(); });
  Value handle = ui::__CLASSDEF(Value("TFKalvedo"), module, ui::TForm());
  Value names = Value::newArray();
  for (const char* name : kComponents) AADD(names, Value(name));
  ui::__CLASSDAT(handle, Value(0), Value(0), names);
  ui::__CLASSMET(handle, Value(0), Value(0), Value("Create"), module, Value("TFKALVEDO:CREATE"));
  ui::__CLASSMET(handle, Value(1), Value(0), Value("fKalvedoOnCreate"), module,
                 Value("TFKALVEDO:FKALVEDOONCREATE"));
  return handle;
}

}  // namespace

std::string programTitle() {
  const Value ver = memvarGet("VER");
  return "Kalvedo " + std::string(ver.isString() ? ver.str() : "") + kMakerCredit;
}

Value TFKalvedo() {
  static Value handle;
  if (handle.isNil()) handle = declare();
  return ui::__CLASSOBJ(handle);
}

Value TFKalvedo_Create(const Value& self, const Value& owner) {
  KV_METHOD("TFKALVEDO", "CREATE");
  ui::superSend(self, "Create", {owner});
  KV_LINE();
  send(self, "_Caption", {Value("Kalvedo")});
  send(send(self, "BorderIcons"), "_Maximize", {Value(false)});
  send(self, "SetPos", {Value(246), Value(114)});
  send(self, "_ClientWidth", {Value(794)});
  send(self, "_ClientHeight", {Value(571)});
  send(self, "_MinWidth", {Value(810)});
  send(self, "_MaxWidth", {Value(810)});
  send(self, "_MinHeight", {Value(610)});
  send(self, "_MaxHeight", {Value(610)});
  send(self, "_Position", {Value(4)});
  // The handler calls the form's method with the form as receiver. The block is held by the
  // form's library object, so destroying the form releases it with the form.
  const Value form = self.deref();
  send(self, "_OnCreate",
       {makeBlock([form](Args a) { return send(form, "fKalvedoOnCreate", {arg(a, 0)}); })});
  return self.deref();
}

void fKalvedoOnCreate(const Value& self, const Value&) {
  KV_METHOD("TFKALVEDO", "FKALVEDOONCREATE");
  send(self, "_Caption", {Value(programTitle())});
  // The tab order, the lists, the menu and the options come with the main window's controls.
  KV_LINE();
  OtvoriBaze();
}

}  // namespace kv::app
