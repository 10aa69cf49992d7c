#pragma once
// The header form TFZAGLAVLJE, an application class on TForm: four labelled edits for the four
// header lines of a printed order and the buttons "Snimi" and "Odustani". It is shown modally
// from the main form's settings menu; its methods are found by name ("TFZAGLAVLJE:CREATE",
// "TFZAGLAVLJE:FZAGLAVLJEONSHOW", ...).
//
// | Control                | Class        | Left, top, width, height | Label or caption | Picture |
// |------------------------|--------------|--------------------------|------------------|---------|
// | the form               | TForm        | client area 331 x 222    | "Kalvedo : Zaglavlje Naloga"
// | | eNazivFirmeZaglavlje   | TLabeledEdit | 16, 32, 297, 21          | "Naziv firme:"   | 50 "X"
// | | eDrugiRedZaglavlje     | TLabeledEdit | 16, 72, 297, 21          | "Drugi red (...)"| 100 "X"
// | | eTreciRedZaglavlje     | TLabeledEdit | 16, 112, 297, 21         | "Treci red (...)"| 100 "X"
// | | eCetvrtiRedZaglavlje   | TLabeledEdit | 16, 152, 297, 21         | "Cetvrti red ..."| 100 "X"
// | | bSnimiZaglavlje        | TButton      | 160, 184                 | "Snimi"          | | |
// bOdustaniZaglavlje     | TButton      | 240, 184                 | "Odustani"       |         |
#include "runtime/value/value.h"

namespace kv::app {

// The class function: declares the class on its first call; every call answers a new, not yet
// created instance.
Value TFZAGLAVLJE();

// Create(oOwner): TForm's Create, then the form's own properties (border style 3, dialog;
// centred over the active form, Position 5) and its controls as the table above gives, with
// fZaglavljeOnShow as OnShow and the buttons' OnClick handlers. Answers the form.
Value TFZAGLAVLJE_Create(const Value& self, const Value& owner);

// OnShow: gives the edits their pictures, makes them editable and fills each with its header
// line from the settings file (the bracketed placeholder when none is stored).
void fZaglavljeOnShow(const Value& self, const Value& sender);

// "Snimi": writes the four edits' texts to the four header settings, in order, and closes the
// form.
void bSnimiZaglavljeOnClick(const Value& self, const Value& sender);

// "Odustani": closes the form without writing.
void bOdustaniZaglavljeOnClick(const Value& self, const Value& sender);

}  // namespace kv::app
