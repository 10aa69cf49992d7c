#include "app/fkalvedo.h"

#include <algorithm>
#include <span>

#include "app/core/datafiles.h"
#include "app/core/manufacturers.h"
#include "app/core/orderrecord.h"
#include "app/core/settingscommands.h"
#include "app/fkalvedo_layout.h"
#include "app/fkalvedo_lists.h"
#include "app/fkalvedo_menus.h"
#include "app/fkalvedo_orders.h"
#include "app/fkalvedo_overview.h"
#include "app/fkalvedo_print.h"
#include "app/fkalvedo_settings.h"
#include "app/fkalvedo_status.h"
#include "app/core/makertexts.h"
#include "runtime/error/callstack.h"
#include "runtime/format/dates.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/memvars.h"
#include "runtime/lib/arrays.h"
#include "ui/core/classlang.h"
#include "ui/forms/form.h"

namespace kv::app {

namespace {

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

// The methods in the order the class declares them.
constexpr const char* kMethodOrder[] = {"Create",
                                        "BrisiKorisnika",
                                        "BrisiProizvodjaca",
                                        "BrisiSveKorisnike",
                                        "BrisiSveProizvodjace",
                                        "BrojPrimerakaStampe",
                                        "ColorPregled",
                                        "DodajProizvodjaca",
                                        "DozvoliIzmenuNaloga",
                                        "IzborStampaca",
                                        "Jezik",
                                        "MyTabOrder",
                                        "NadjiNalog",
                                        "NapraviGlavniMeni",
                                        "NoviBrojNAloga",
                                        "NoviNalog",
                                        "PopuniKorisnike",
                                        "PopuniPregled",
                                        "SnimiKorisnika",
                                        "Timer1OnTimer",
                                        "UnosKlauzule",
                                        "ZaglavljeNaloga",
                                        "bBrisiNalogOnClick",
                                        "bSnimiNalogOnClick",
                                        "bStampajNalogOnClick",
                                        "cbOstaloOnChange",
                                        "eBrojNalogaOnKeyDown",
                                        "eKontaktKorisnikaOnKeyDown",
                                        "eNazivKorisnikaOnEnter",
                                        "eNazivKorisnikaOnKeyDown",
                                        "eOstaloPriborOnEnter",
                                        "eOstaloPriborOnExit",
                                        "eOstaloTelefonOnEnter",
                                        "eOstaloTelefonOnExit",
                                        "ePretragaNalogaOnKeyDown",
                                        "fKalvedoOnCreate",
                                        "mOpisKvaraOnEnter",
                                        "mOpisKvaraOnExit",
                                        "rbOstaloOnEnter",
                                        "sbMenuKorisnikaOnClick",
                                        "sbMenuNalogOnClick",
                                        "sbMenuProizvodjacaTelefonaOnClick",
                                        "sgKorisniciOnClick",
                                        "sgPregledOnClick",
                                        "sgPregledOnDrawCell",
                                        "sgPregledOnHeaderClick"};

const FormMethodEntry kOwnMethods[] = {{"fKalvedoOnCreate", &fKalvedoOnCreate}};

FormMethodWatch& methodWatch() {
  static FormMethodWatch watch;
  return watch;
}

// The method of a name from the tables of every part; null when none has it.
FormMethod findMethod(std::string_view name) {
  const std::span<const FormMethodEntry> parts[] = {
      layoutMethods(),   menuMethods(), statusMethods(),   std::span(kOwnMethods), orderMethods(),
      overviewMethods(), listMethods(), settingsMethods(), printMethods()};
  for (const auto& part : parts) {
    for (const FormMethodEntry& e : part) {
      if (name == e.name) return e.fn;
    }
  }
  return nullptr;
}

Value declare() {
  const Value module = makeBlock([](Args) { return Value(); });
  Value handle = ui::__CLASSDEF(Value("TFKalvedo"), module, ui::TForm());
  Value names = Value::newArray();
  for (const char* name : kComponents) AADD(names, Value(name));
  ui::__CLASSDAT(handle, Value(0), Value(0), names);
  for (const char* name : kMethodOrder) {
    const FormMethod fn = findMethod(name);
    if (!fn) continue;  // every name has its function; formMethodNames() lets a test check it
    const int target = ui::registerMethodTarget([name, fn](const Value& self, Args a) -> Value {
      if (methodWatch() && methodWatch()(name, a)) return Value();
      return fn(self, a);
    });
    // Create answers the form itself; every other method its own result.
    const bool constructor = std::string_view(name) == "Create";
    ui::__CLASSMET(handle, Value(constructor ? 0 : 1), Value(0), Value(name), Value(target));
  }
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

const std::vector<std::string>& formMethodNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> out;
    for (const char* name : kMethodOrder) {
      if (findMethod(name)) out.emplace_back(name);
    }
    return out;
  }();
  return names;
}

Value component(const Value& self, std::string_view name) {
  return send(self, name);
}

Value fKalvedoOnCreate(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "FKALVEDOONCREATE");
  send(self, "_Caption", {Value(programTitle())});
  resetOverviewSort();
  KV_LINE();
  send(self, "MyTabOrder");
  // The tables and their indexes; an empty manufacturer table gets the default list.
  KV_LINE();
  OtvoriBaze();
  KV_LINE();
  send(component(self, "csProizvodjaciTelefona"), "_Items", {buildMakerList().items});
  KV_LINE();
  send(component(self, "eBrojNaloga"), "_Caption", {Value(nextOrderNumber())});
  send(component(self, "dtpDatumNaloga"), "_Date", {DATE()});
  // The menu is made after the lists: its check marks are set from the options below.
  KV_LINE();
  send(self, "PopuniPregled");
  KV_LINE();
  send(self, "PopuniKorisnike");
  KV_LINE();
  send(self, "NapraviGlavniMeni");
  KV_LINE();
  // The options from the settings file: the printer choice, the coloured overview, the print
  // language (only exactly "Srpski" or "Hrvatski" ticks its item).
  readSettingFlags();
  const Value menu = component(self, "MainMenu1");
  for (const auto& [item, option] :
       {std::pair{"nIzborStampaca", "lIzborStampaca"}, std::pair{"nColorPregled", "lColorPregled"},
        std::pair{"nJezikSrpski", "lJezikSrpski"}, std::pair{"nJezikHrvatski", "lJezikHrvatski"}}) {
    send(menu, "SetChecked", {memvarGet(item), Value(memvarGet(option).asBool())});
  }
  send(component(self, "Panel1"), "_Caption", {Value(kMakerAddress)});
  return Value();
}

void watchFormMethods(FormMethodWatch watch) {
  methodWatch() = std::move(watch);
}

}  // namespace kv::app
