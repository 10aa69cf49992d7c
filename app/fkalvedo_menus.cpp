#include "app/fkalvedo_menus.h"

#include "app/fkalvedo_layout.h"
#include "runtime/error/callstack.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lang/memvars.h"

namespace kv::app {

namespace {

constexpr const char* kTabOrder[] = {"eBrojNaloga",       "eNazivKorisnika",
                                     "eKontaktKorisnika", "csProizvodjaciTelefona",
                                     "eModelTelefona",    "eSerijskiBrojTelefona",
                                     "rbZicniTelefon",    "rbBezicniTelefon",
                                     "rbMobilniTelefon",  "rbTelefaksUredjaj",
                                     "rbOstalo",          "eOstaloTelefon",
                                     "cbPunjac",          "cbBaterija",
                                     "cbLinijskiKabl",    "cbKartica",
                                     "cbOstalo",          "eOstaloPribor",
                                     "eNapomenaTelefon",  "mOpisKvara",
                                     "eNapomenaServis",   "eOkvCena",
                                     "eKonCena",          "rbNaCekanju",
                                     "rbUObradi",         "rbZavrsen",
                                     "bSnimiNalog",       "bStampajNalog",
                                     "bBrisiNalog"};

// One item of a menu: its caption and the method it calls with the menu (none: no action).
struct Item {
  const char* caption;
  const char* method;
};
constexpr Item kSeparator = {nullptr, nullptr};

// MenuItem with the caption and the action only; answers the item's number.
Value item(const Value& form, const Value& menu, const Item& i) {
  return send(menu, "MenuItem",
              {Value(i.caption), Value(), i.method ? formEvent(form, i.method) : Value()});
}

// Adds `items` to the current level of `menu`; a null caption is a separator.
void items(const Value& form, const Value& menu, std::initializer_list<Item> list) {
  for (const Item& i : list) {
    if (i.caption) {
      item(form, menu, i);
    } else {
      send(menu, "Separator");
    }
  }
}

// A pop-up menu of one level.
void popup(const Value& form, const Value& menu, std::initializer_list<Item> list) {
  send(menu, "BeginMenu");
  items(form, menu, list);
  send(menu, "EndMenu");
}

// An entry of the menu bar: MenuItem with Alt (the ninth argument) and its letter as the key
// (the tenth), so Alt with the letter opens it.
void barEntry(const Value& menu, const char* caption, const char* key) {
  send(menu, "MenuItem",
       {Value(caption), Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value(true),
        Value(key)});
}

// Opens the pop-up menu `menu` at the top-left corner of speed button `button` in group box
// `group`.
Value openAtButton(const Value& self, const char* group, const char* button, const char* menu) {
  const Value gb = component(self, group), sb = component(self, button);
  const int x = send(gb, "Left").asInt() + send(sb, "Left").asInt();
  const int y = send(gb, "Top").asInt() + send(sb, "Top").asInt();
  send(component(self, menu), "Popup", {Value(x), Value(y)});
  return Value();
}

const FormMethodEntry kMethods[] = {
    {"MyTabOrder", &MyTabOrder},
    {"NapraviGlavniMeni", &NapraviGlavniMeni},
    {"sbMenuKorisnikaOnClick", &sbMenuKorisnikaOnClick},
    {"sbMenuNalogOnClick", &sbMenuNalogOnClick},
    {"sbMenuProizvodjacaTelefonaOnClick", &sbMenuProizvodjacaTelefonaOnClick},
};

}  // namespace

void makeManufacturerPopup(const Value& form, const Value& menu) {
  popup(form, menu,
        {{"Dodaj novog proizvodjaca", "DodajProizvodjaca"},
         {"Brisi odabranog proizvodjaca", "BrisiProizvodjaca"},
         kSeparator,
         {"Brisi sve proizvodjace", "BrisiSveProizvodjace"},
         kSeparator,
         {"Odustani", nullptr}});
}

void makeCustomerPopup(const Value& form, const Value& menu) {
  popup(form, menu,
        {{"Snimi podatke o korisniku", "SnimiKorisnika"},
         {"Brisi odabranog korisnika", "BrisiKorisnika"},
         kSeparator,
         {"Brisi sve korisnike", "BrisiSveKorisnike"},
         kSeparator,
         {"Odustani", nullptr}});
}

void makeOrderPopup(const Value& form, const Value& menu) {
  popup(form, menu,
        {{"Novi Nalog", "NoviNalog"},
         {"Novi Broj Naloga", "NoviBrojNAloga"},
         kSeparator,
         {"Dozvoli  izmenu naloga", "DozvoliIzmenuNaloga"}});
}

std::span<const char* const> tabOrderNames() {
  return kTabOrder;
}

Value MyTabOrder(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "MYTABORDER");
  int position = 0;
  for (const char* name : kTabOrder) send(component(self, name), "_TabOrder", {Value(++position)});
  return Value();
}

Value NapraviGlavniMeni(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "NAPRAVIGLAVNIMENI");
  const Value form = self.deref();
  const Value menu = component(form, "MainMenu1");
  send(menu, "BeginMenu");

  barEntry(menu, "&Nalog", "N");
  popup(form, menu,
        {{"Novi nalog", "NoviNalog"},
         {"Novi broj naloga", "NoviBrojNAloga"},
         kSeparator,
         {"Snimi nalog", "bSnimiNalogOnClick"},
         {"Stampaj nalog", "bStampajNalogOnClick"},
         kSeparator,
         {"Brisi nalog", "bBrisiNalogOnClick"},
         kSeparator,
         {"Dozvoli izmenu naloga", "DozvoliIzmenuNaloga"}});

  barEntry(menu, "&Korisnik", "K");
  popup(form, menu,
        {{"Snimi podatke o korisniku", "SnimiKorisnika"},
         {"Brisi odabranog korisnika", "BrisiKorisnika"},
         kSeparator,
         {"Brisi sve korisnike", "BrisiSveKorisnike"}});

  barEntry(menu, "&Proizvodjac", "P");
  popup(form, menu,
        {{"Dodaj novog proizvodjaca", "DodajProizvodjaca"},
         {"Brisi odabranog proizvodjaca", "BrisiProizvodjaca"},
         kSeparator,
         {"Brisi sve proizvodjace", "BrisiSveProizvodjace"}});

  KV_LINE();
  barEntry(menu, "P&odesavanja", "O");
  send(menu, "BeginMenu");
  memvarPut("nIzborStampaca", item(form, menu, {"Izbor stampaca", "IzborStampaca"}));
  items(form, menu,
        {{"Broj primeraka stampe", "BrojPrimerakaStampe"},
         kSeparator,
         {"Zaglavlje naloga", "ZaglavljeNaloga"},
         {"Tekst klauzule na nalogu", "UnosKlauzule"},
         {"Jezik na nalogu", nullptr}});
  // The language items pass their language's name.
  send(menu, "BeginMenu");
  for (const auto& [language, id] :
       {std::pair{"Srpski", "nJezikSrpski"}, std::pair{"Hrvatski", "nJezikHrvatski"}}) {
    const std::string text = language;
    const Value action =
        makeBlock([form, text](Args) { return send(form, "Jezik", {Value(text)}); });
    memvarPut(id, send(menu, "MenuItem", {Value(language), Value(), action}));
  }
  send(menu, "EndMenu");
  send(menu, "Separator");
  memvarPut("nColorPregled", item(form, menu, {"Pregled naloga u boji", "ColorPregled"}));
  send(menu, "EndMenu");

  send(menu, "EndMenu");
  return Value();
}

Value sbMenuNalogOnClick(const Value& self, Args) {
  return openAtButton(self, "gbNalog", "sbMenuNalog", "PopupMenuNalog");
}

Value sbMenuKorisnikaOnClick(const Value& self, Args) {
  return openAtButton(self, "gbKorisnik", "sbMenuKorisnika", "PopupMenuKorisnika");
}

Value sbMenuProizvodjacaTelefonaOnClick(const Value& self, Args) {
  return openAtButton(self, "gbTelefon", "sbMenuProizvodjacaTelefona", "PopupMenuProizvodjaci");
}

std::span<const FormMethodEntry> menuMethods() {
  return kMethods;
}

}  // namespace kv::app
