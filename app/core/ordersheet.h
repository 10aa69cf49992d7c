#pragma once
// The printed work order: one A4 sheet in portrait carrying the same order form twice, the
// upper form at the sheet's top and the lower one 145 mm below it, each closed by a line
// across the sheet. This module composes the sheet as a list of drawing items in millimetres
// from the sheet's top-left corner, without drawing anything, so the layout can be checked
// item by item and played onto any printer (the window part plays it onto Printer).
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "runtime/value/value.h"

namespace kv::app {

// What one printed order shows: the stored order record's fields and the settings that shape
// the sheet. Texts are Windows-1250 bytes as stored.
struct OrderSheetData {
  std::string number;    // the order number, five digits ("00012")
  std::string dateText;  // the order date as DTOC shows it ("13.02.2013")
  std::string korisnik, aparat, aparatOst, proizvodja, model, serijskiBr;
  bool punjac = false, baterija = false, linijskiK = false, kartica = false, priborO = false;
  std::string priborOst, telefonN;
  std::string opisKvara;  // the fault description memo as stored (lines ended by CR LF)
  double okvCena = 0, konCena = 0;
  // The four header lines of section "Zaglavlje" ("Naziv firme", "Drugi red", "Treci red",
  // "Cetvrti red"), already with their defaults applied.
  std::array<std::string, 4> header;
  bool croatian = false;              // Croatian label variants instead of the Serbian ones
  std::optional<std::string> clause;  // the content of klauzula.txt, when the file exists
};

// One drawing call of the sheet. Rectangles and lines are {left, top, right, bottom} and
// {x1, y1, x2, y2} in millimetres. Texts carry the font size in points and its weight, and
// the alignment code of the printer's DrawText (0 left, 2 right, 6 centred).
struct SheetItem {
  enum class Kind { Text, Box, Line };
  Kind kind = Kind::Text;
  std::array<double, 4> rect{};
  std::string text;
  int fontSize = 8;
  bool bold = false;
  int align = 0;
};

// The sheet's footer: the product line on the left and the web address on the right.
std::string orderSheetFooterLeft();
std::string orderSheetFooterRight();

// The print job's document name: "ServisniNalog_" + number + "_" + the date text without its
// points ("ServisniNalog_00012_13022013").
std::string orderSheetTitle(const OrderSheetData& d);

// The device text: the trimmed "other" device text when the stored device begins (upper-cased)
// with "OSTALO:", else the trimmed device; then one blank; then the manufacturer as stored,
// or nothing when it is the placeholder "Proizvodjac".
std::string orderSheetDevice(const OrderSheetData& d);

// The accessories text: "punjac", "baterija", "linijski kabl", "kartica" and the trimmed other
// accessory, in that order, each flagged one once, joined by ", ", its first letter upper-cased
// and ended by "."; no accessory gives "." alone.
std::string orderSheetAccessories(const OrderSheetData& d);

// A price as printed: empty for 0, else under the picture "9999999.99", trimmed.
std::string orderSheetPrice(double price);

// Cuts a multi-line text at each CR LF: every piece before a pair is a line; whatever follows
// the last pair is not a line.
std::vector<std::string> orderSheetLines(const std::string& text);

// The clause as drawn: leading blanks and tabs and trailing blanks removed, then cut into lines.
std::vector<std::string> orderSheetClauseLines(const std::string& clause);

// One order form with its vertical offset o (0 for the upper form, 145 for the lower one), in
// drawing order: header and title, boxes, labels, values, signatures, footer and lines.
std::vector<SheetItem> orderSheetForm(const OrderSheetData& d, double o);

// The whole sheet: the upper form followed by the lower form.
std::vector<SheetItem> orderSheetPage(const OrderSheetData& d);

// Reads the order at the current record of the current work area (the Nalozi table) into the
// sheet's data; the header, language and clause are left for the caller to fill.
OrderSheetData orderSheetFromRecord();

// Finds the order `numberText` (five digits) in Nalozi, which it makes the current work area,
// and reads everything its sheet shows: the stored record, the header lines of the settings
// file, the language, and the clause when klauzula.txt exists. Nothing when the number is
// not in the table; the order found stays the current record.
std::optional<OrderSheetData> findOrderSheet(const std::string& numberText);

}  // namespace kv::app
