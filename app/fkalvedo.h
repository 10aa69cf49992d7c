#pragma once
// The main form's class TFKalvedo, an application class on TForm declared through the window
// library's class runtime. Its instance variables are the main window's 54 components (nil
// until the window's controls are made); its methods so far are the constructor Create and the
// creation handler fKalvedoOnCreate, both found by name ("TFKALVEDO:CREATE",
// "TFKALVEDO:FKALVEDOONCREATE").
#include <string>

#include "runtime/value/value.h"

namespace kv::app {

// The title of the application and of the main window: "Kalvedo " + VER + the maker's credit.
std::string programTitle();

// The class function: declares the class on its first call; every call answers a new, not yet
// created instance (Application:CreateForm creates it).
Value TFKalvedo();

// Create(oOwner), the constructor: runs TForm's Create with the owner, then gives the form its
// own properties: caption "Kalvedo", no maximise box, left 246 and top 114, a client area of
// 794 by 571, the window's size fixed at 810 by 610 through its limits, centred on the screen
// when shown (Position 4), and fKalvedoOnCreate as its OnCreate. Answers the form.
Value TFKalvedo_Create(const Value& self, const Value& owner);

// fKalvedoOnCreate(oSender), the main form's OnCreate: captions the form with programTitle()
// and opens the three tables with their indexes (OtvoriBaze), filling the default
// manufacturers into an empty ProizTel.
void fKalvedoOnCreate(const Value& self, const Value& sender);

}  // namespace kv::app
