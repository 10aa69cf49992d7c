#pragma once
// The status panel along the bottom of the main window: Timer1 changes its text every ten
// seconds, by the ten-second window of the minute the tick falls in.
#include <span>
#include <string>

#include "app/fkalvedo.h"

namespace kv::app {

// The panel's text for a tick at `seconds` (0-59) of the minute, given the shop's name as the
// settings file holds it: 0-9 and 30-39 the maker's address, 10-19 " " + the shop's name, 20-29
// " Kalvedo", 50-59 the maker's second credit. The window 40-49 keeps the text shown before, so
// it answers false there; every other window answers true with the text in `text`.
bool statusText(int seconds, const std::string& shopName, std::string& text);

// Timer1OnTimer(oSender): the seconds of the time of day (characters 7 and 8 of TIME()) choose
// Panel1's caption by statusText; the shop's name is read from section "Zaglavlje", key
// "Naziv firme", with the maker's credit as the default, only in the window that shows it.
Value Timer1OnTimer(const Value& self, Args args);

// The methods this part declares.
std::span<const FormMethodEntry> statusMethods();

}  // namespace kv::app
