#pragma once
// The settings menu's entries: the printer choice, the number of copies, the print
// language, the print header and the clause text.
// Every method receives the form as Self and the arguments its event or menu item passes.
#include <span>

#include "app/fkalvedo.h"

namespace kv::app {

Value BrojPrimerakaStampe(const Value& self, Args args);
Value IzborStampaca(const Value& self, Args args);
Value Jezik(const Value& self, Args args);
Value UnosKlauzule(const Value& self, Args args);
Value ZaglavljeNaloga(const Value& self, Args args);

// The methods this part declares.
std::span<const FormMethodEntry> settingsMethods();

}  // namespace kv::app
