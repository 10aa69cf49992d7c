#pragma once
// Work-order editing: a new order and a new number, finding an order by its number, saving
// and deleting it, the protection of existing and finished orders (the save and delete
// buttons), the number edit's keys, and the focus rules of the "other" fields and the fault
// description. (The overview grid is fkalvedo_overview.)
// Every method receives the form as Self and the arguments its event or menu item passes.
#include <span>

#include "app/fkalvedo.h"

namespace kv::app {

Value DozvoliIzmenuNaloga(const Value& self, Args args);
Value NadjiNalog(const Value& self, Args args);
Value NoviBrojNAloga(const Value& self, Args args);
Value NoviNalog(const Value& self, Args args);
Value bBrisiNalogOnClick(const Value& self, Args args);
Value bSnimiNalogOnClick(const Value& self, Args args);
Value cbOstaloOnChange(const Value& self, Args args);
Value eBrojNalogaOnKeyDown(const Value& self, Args args);
Value eOstaloPriborOnEnter(const Value& self, Args args);
Value eOstaloPriborOnExit(const Value& self, Args args);
Value eOstaloTelefonOnEnter(const Value& self, Args args);
Value eOstaloTelefonOnExit(const Value& self, Args args);
Value mOpisKvaraOnEnter(const Value& self, Args args);
Value mOpisKvaraOnExit(const Value& self, Args args);
Value rbOstaloOnEnter(const Value& self, Args args);

// The methods this part declares.
std::span<const FormMethodEntry> orderMethods();

}  // namespace kv::app
