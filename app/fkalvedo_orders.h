#pragma once
// Work-order editing and the order overview: the order's fields, saving, deleting and
// finding an order, the focus rules of the "other" fields, and the overview grid with its
// search, colours and sorting.
// Every method receives the form as Self and the arguments its event or menu item passes.
// A method whose body is notBuiltYet does nothing yet.
#include <span>

#include "app/fkalvedo.h"

namespace kv::app {

Value ColorPregled(const Value& self, Args args);
Value DozvoliIzmenuNaloga(const Value& self, Args args);
Value NadjiNalog(const Value& self, Args args);
Value NoviBrojNAloga(const Value& self, Args args);
Value NoviNalog(const Value& self, Args args);
Value PopuniPregled(const Value& self, Args args);
Value bBrisiNalogOnClick(const Value& self, Args args);
Value bSnimiNalogOnClick(const Value& self, Args args);
Value cbOstaloOnChange(const Value& self, Args args);
Value eBrojNalogaOnKeyDown(const Value& self, Args args);
Value eOstaloPriborOnEnter(const Value& self, Args args);
Value eOstaloPriborOnExit(const Value& self, Args args);
Value eOstaloTelefonOnEnter(const Value& self, Args args);
Value eOstaloTelefonOnExit(const Value& self, Args args);
Value ePretragaNalogaOnKeyDown(const Value& self, Args args);
Value mOpisKvaraOnEnter(const Value& self, Args args);
Value mOpisKvaraOnExit(const Value& self, Args args);
Value rbOstaloOnEnter(const Value& self, Args args);
Value sgPregledOnClick(const Value& self, Args args);
Value sgPregledOnDrawCell(const Value& self, Args args);
Value sgPregledOnHeaderClick(const Value& self, Args args);

// The methods this part declares.
std::span<const FormMethodEntry> orderMethods();

}  // namespace kv::app
