#pragma once
// The work order on the main window's controls: the order read from the controls as one
// OrderForm, an OrderForm shown on them, and the switch of the save and delete buttons. The
// controls are read whole before anything is written and written only from an OrderForm
// that is complete, so a failure while a record is read never leaves the form half filled.
#include <string>
#include <vector>

#include "app/core/orderrecord.h"
#include "runtime/value/value.h"

namespace kv::app {

// The order as the controls hold it: the number edit's value, the date, every text as the
// edit holds it, the manufacturer list's current text, the first checked device-kind button
// (0 when none), the accessory boxes, the fault description's lines (the memo's text cut by
// memoLines), both prices and the three status buttons.
OrderForm readOrderControls(const Value& self);

// Shows `f` on the controls in the order of the fields: the date, the texts, the
// manufacturer list on entry f.proizvodjacItem, the device-kind buttons (none checked for
// kind 0), the accessory boxes, the fault lines joined with CR LF, the prices and the status
// buttons. The number edit is left alone: it is the key the order was found by.
void showOrderControls(const Value& self, const OrderForm& f);

// Enables or disables the save and delete buttons together.
void enableOrderCommands(const Value& self, bool enabled);

// The value of the number edit (a number; 0 when it holds none).
Value orderNumberValue(const Value& self);

// A combo box's current text: its selected entry, else its caption. (The window library's
// Caption of a combo box does not follow the selection.)
std::string comboText(const Value& combo);

}  // namespace kv::app
