#pragma once
// Printing the work order on the form.
// Every method receives the form as Self and the arguments its event or menu item passes.
#include <span>

#include "app/fkalvedo.h"

namespace kv::app {

Value bStampajNalogOnClick(const Value& self, Args args);

// The methods this part declares.
std::span<const FormMethodEntry> printMethods();

}  // namespace kv::app
