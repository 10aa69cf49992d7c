#pragma once
// The order overview in the main window: filling the grid from Nalozi (PopuniPregled), the
// colours of its rows by the orders' state, loading the order of a clicked row, sorting by a
// clicked header (one direction flag for every column, turned at each sort), the search edit
// (Enter filters the table for one fill, other keys search the rows shown) and the colour
// settings (ColorPregled).
// Every method receives the form as Self and the arguments its event or menu item passes.
#include <span>

#include "app/fkalvedo.h"

namespace kv::app {

Value ColorPregled(const Value& self, Args args);
Value PopuniPregled(const Value& self, Args args);
Value ePretragaNalogaOnKeyDown(const Value& self, Args args);
Value sgPregledOnClick(const Value& self, Args args);
Value sgPregledOnDrawCell(const Value& self, Args args);
Value sgPregledOnHeaderClick(const Value& self, Args args);

// The overview's rows, the public aPregled (an empty array is made when it holds none).
Value overviewRows();

// The sort direction back to its start (ascending first), as at the program's start.
void resetOverviewSort();

// The methods this part declares.
std::span<const FormMethodEntry> overviewMethods();

}  // namespace kv::app
