#pragma once
// The main window's constructor: the form's own properties and its components, each with its
// class, parent, place, texts, properties and events, in the order of creation. The main
// menu's entries and the tab order come later, from the creation handler (fkalvedo_menus).
#include <span>

#include "app/fkalvedo.h"

namespace kv::app {

// Create(oOwner): runs TForm's Create with the owner; gives the form its caption "Kalvedo",
// no maximise box, left 246 and top 114, a client area of 794 by 571, the icon "DAVAVODE",
// the window's size fixed at 810 by 610 through its limits, centred on the screen when shown
// (Position 4) and fKalvedoOnCreate as OnCreate; makes the five group boxes with their
// controls, the three command buttons, the pop-up menus with their items, the status panel
// with its banner, the main menu (empty), the timer, the colour dialog and the refresh button;
// then gives the three speed buttons their pop-up menus and the form its menu. Every component
// is kept in the instance variable of its name. Answers the form.
Value TFKalvedo_Create(const Value& self, Args args);

// Makes the block of an event: it sends `method` to `form` with the event's arguments as the
// library passes them (the sender first, by-reference arguments kept).
Value formEvent(const Value& form, const char* method);

// The methods this part declares (Create).
std::span<const FormMethodEntry> layoutMethods();

}  // namespace kv::app
