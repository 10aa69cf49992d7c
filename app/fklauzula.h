#pragma once
// The clause form TFKLAUZULA, an application class on TForm: a memo with the clause printed on
// every work order and the buttons "Snimi" and "Odustani". It is shown without waiting (the
// main form stays usable), a new instance on every call; its methods are found by name
// ("TFKLAUZULA:CREATE", "TFKLAUZULA:FKLAUZULAONSHOW", ...).
//
// | Control           | Class   | Left, top, width, height | Caption                              |
// |-------------------|---------|--------------------------|--------------------------------------|
// | the form          | TForm   | client area 721 x 155    | "Kalvedo : Tekst Klauzule na Nalogu" |
// | MemoKlauzula      | TMemo   | 8, 16, 713, 105          |                                      |
// | bSnimiKlauzulu    | TButton | 568, 128                 | "Snimi"                              |
// | bOdustaniKlauzula | TButton | 648, 128                 | "Odustani"                           |
#include "runtime/value/value.h"

namespace kv::app {

// The class function: declares the class on its first call; every call answers a new, not yet
// created instance.
Value TFKLAUZULA();

// Create(oOwner): TForm's Create, then the caption, Position 5 (centred over the active form)
// and the controls of the table above, with fKlauzulaOnShow as OnShow and the buttons'
// OnClick handlers. Answers the form.
Value TFKLAUZULA_Create(const Value& self, const Value& owner);

// OnShow: loads klauzula.txt of the current directory into the memo (empty when missing).
void fKlauzulaOnShow(const Value& self, const Value& sender);

// "Snimi": saves the memo's lines as the clause file, every line followed by CR LF, and closes
// the form. A save that fails shows why in an error box and keeps the form open with the text,
// so nothing typed is lost.
void bSnimiKlauzuluOnClick(const Value& self, const Value& sender);

// "Odustani": closes the form without saving.
void bOdustaniKlauzulaOnClick(const Value& self, const Value& sender);

}  // namespace kv::app
