#pragma once
// The main window's menus and tab order: the three pop-up menus with the speed buttons that
// open them, the main menu with the item numbers the program keeps for its check marks, and
// the sequence Tab walks through the order's fields.
#include <span>

#include "app/fkalvedo.h"

namespace kv::app {

// The pop-up menus' items, each calling its method of `form` with the menu (Create builds
// them): manufacturers "Dodaj novog proizvodjaca", "Brisi odabranog proizvodjaca", "Brisi sve
// proizvodjace"; customers "Snimi podatke o korisniku", "Brisi odabranog korisnika", "Brisi
// sve korisnike" (each list ending with "Odustani", which does nothing); the order "Novi
// Nalog", "Novi Broj Naloga", "Dozvoli  izmenu naloga".
void makeManufacturerPopup(const Value& form, const Value& menu);
void makeCustomerPopup(const Value& form, const Value& menu);
void makeOrderPopup(const Value& form, const Value& menu);

// The controls MyTabOrder gives the tab order positions 1 to 29, in that order.
std::span<const char* const> tabOrderNames();

// MyTabOrder: gives each control of tabOrderNames() its position (1 to 29) among its siblings,
// so Tab walks them in that sequence across the group boxes and wraps from the last to the
// first.
Value MyTabOrder(const Value& self, Args args);

// NapraviGlavniMeni: fills MainMenu1 with its four entries ("&Nalog", "&Korisnik",
// "&Proizvodjac", "P&odesavanja", each opened with Alt and its letter) and their items, and
// keeps the numbers of the four items with check marks in the publics nIzborStampaca,
// nJezikSrpski, nJezikHrvatski and nColorPregled.
Value NapraviGlavniMeni(const Value& self, Args args);

// The speed buttons' clicks: each opens its pop-up menu at the button's top-left corner (the
// group box's Left and Top plus the button's, a point of the form's client area).
Value sbMenuNalogOnClick(const Value& self, Args args);
Value sbMenuKorisnikaOnClick(const Value& self, Args args);
Value sbMenuProizvodjacaTelefonaOnClick(const Value& self, Args args);

// The methods this part declares.
std::span<const FormMethodEntry> menuMethods();

}  // namespace kv::app
