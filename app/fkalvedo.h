#pragma once
// The main form's class TFKalvedo, an application class on TForm declared through the window
// library's class runtime. Its instance variables are the main window's 54 components (nil
// until Create makes them); its methods are declared in one fixed order, each a C++ function
// of the file that holds its part of the program:
//
//   fkalvedo_layout    Create: every component with its place, texts, properties and events
//   fkalvedo_menus     MyTabOrder, NapraviGlavniMeni, the pop-up menus and their speed buttons
//   fkalvedo_status    Timer1OnTimer, the status panel's texts
//   fkalvedo (here)    fKalvedoOnCreate, the creation handler
//   fkalvedo_orders    order editing (the controls' order: fkalvedo_orderform)
//   fkalvedo_overview  the overview grid, its search, sorting and colours
//   fkalvedo_lists     customers and manufacturers
//   fkalvedo_settings  settings, header and clause
//   fkalvedo_print     printing an order
//
// Every event of a component is a block that sends the named method to the form with the
// event's arguments, so a method found by its name runs whatever way it is reached (event,
// menu item, another method).
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/lang/symbols.h"
#include "runtime/value/value.h"

namespace kv::app {

// A method of the main form: Self, then the message's arguments as the sender passed them (a
// by-reference argument, such as OnKeyDown's key, is a reference: read it with arg(), write
// it with assignArg()).
using FormMethod = Value (*)(const Value& self, Args args);

struct FormMethodEntry {
  const char* name;  // the message, as the form answers it
  FormMethod fn;
};

// The title of the application and of the main window: "Kalvedo " + VER + the maker's credit.
std::string programTitle();

// The class function: declares the class on its first call; every call answers a new, not yet
// created instance (Application:CreateForm creates it).
Value TFKalvedo();

// The names of the form's methods in the order the class declares them.
const std::vector<std::string>& formMethodNames();

// fKalvedoOnCreate(oSender), the main form's OnCreate, in this order: the caption (the
// program's title); the tab order (MyTabOrder); the three tables with their indexes
// (OtvoriBaze, which fills an empty ProizTel with the default manufacturers); the
// manufacturer list ("Proizvodjac" first, then every Naziv of ProizTel in index order, as
// stored); the next free order number in eBrojNaloga; today's date in dtpDatumNaloga; the
// overview (PopuniPregled), the customers (PopuniKorisnike) and the main menu
// (NapraviGlavniMeni); the options read from the settings file (the printer choice, the
// coloured overview, the print language, where only exactly "Srpski" or "Hrvatski" ticks its
// item); the four check marks; the status panel's first text.
Value fKalvedoOnCreate(const Value& self, Args args);

// A component of the form by its name (the instance variable's value).
Value component(const Value& self, std::string_view name);

// Test support: while a watch is set, every method of the form is first shown to it with its
// name and arguments (Self not included); a watch that answers true stands in for the
// method, which then does not run and answers nil. An empty function removes the watch.
using FormMethodWatch = std::function<bool(std::string_view method, Args args)>;
void watchFormMethods(FormMethodWatch watch);

}  // namespace kv::app
