#pragma once
// The customer and manufacturer lists: the customer grid, saving and deleting customers,
// adding and deleting manufacturers, and the keys of the customer fields.
// Every method receives the form as Self and the arguments its event or menu item passes.
#include <span>

#include "app/fkalvedo.h"

namespace kv::app {

Value BrisiKorisnika(const Value& self, Args args);
Value BrisiProizvodjaca(const Value& self, Args args);
Value BrisiSveKorisnike(const Value& self, Args args);
Value BrisiSveProizvodjace(const Value& self, Args args);
Value DodajProizvodjaca(const Value& self, Args args);
Value PopuniKorisnike(const Value& self, Args args);
Value SnimiKorisnika(const Value& self, Args args);
Value eKontaktKorisnikaOnKeyDown(const Value& self, Args args);
Value eNazivKorisnikaOnEnter(const Value& self, Args args);
Value eNazivKorisnikaOnKeyDown(const Value& self, Args args);
Value sgKorisniciOnClick(const Value& self, Args args);

// The methods this part declares.
std::span<const FormMethodEntry> listMethods();

}  // namespace kv::app
