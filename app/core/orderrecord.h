#pragma once
// One work order as the editing form holds it, and the two ways between it and a record of
// Nalozi: the load (NadjiNalog fills the form from the record) and the save (the record is
// written from the form). The form's controls are read into an OrderForm first and filled from
// one only after the record has been read whole, so an error raised while reading the record
// never leaves the form half loaded. Texts are Windows-1250 bytes, as the runtime holds them.
#include <string>
#include <vector>

#include "runtime/value/value.h"

namespace kv::app {

// The highest order number: BrNal holds five digits, the number edit takes six.
inline constexpr int kMaxOrderNumber = 99999;

// The device kinds of the radio buttons, in the order they are tested; stored in Aparat.
inline constexpr const char* kDeviceKinds[] = {"ZICNI TELEFON", "BEZICNI TELEFON",
                                               "MOBILNI TELEFON", "TELEFAKS UREDJAJ", "OSTALO:"};
inline constexpr int kDeviceOther = 5;  // "OSTALO:", whose description is Aparat_Ost

struct OrderForm {
  int number = 0;  // eBrojNaloga
  Value date;      // dtpDatumNaloga's Date
  std::string korisnik, kontakt;
  // The manufacturer list: its text (saved) and, after a load, the 1-based entry selected.
  std::string proizvodja;
  int proizvodjacItem = 1;
  std::string model, serijskiBr;
  int deviceKind = 0;     // 1..5 by kDeviceKinds, 0 when no device-kind button is checked
  std::string aparatOst;  // eOstaloTelefon
  bool punjac = false, baterija = false, linijskiK = false, kartica = false, priborO = false;
  std::string priborOst;               // eOstaloPribor
  std::string telefonN;                // eNapomenaTelefon
  std::vector<std::string> opisKvara;  // mOpisKvara's lines
  std::string servisN;                 // eNapomenaServis
  double okvCena = 0, konCena = 0;     // eOkvCena, eKonCena
  bool naCekanju = true, uObradi = false, zavrsen = false;
};

// What the number edit's value stands for.
enum class OrderNumber {
  Valid,     // 1..99999
  Missing,   // 0, less, or no number at all
  TooLarge,  // above 99999: it has no five-digit text
};
OrderNumber classifyOrderNumber(const Value& number);

// The five-digit text of an order number of 1..99999 ("00012" for 12).
std::string orderNumberText(int number);

// The error box of each number that is not Valid: "Niste uneli Broj Naloga." for a missing
// one, "Broj naloga ne moze biti veci od 99999." for one that is too large (error, Ok,
// centred). Answers whether the number is Valid (and then shows nothing).
bool acceptOrderNumber(const Value& number);

// The blank form of a new order: `number`, the date `today`, the 50-blank texts (customer,
// contact, model, serial number, both "other" texts), the 80-blank notes, the first entry of
// the manufacturer list ("Proizvodjac"), no device kind, no accessory, no fault lines, both
// prices 0, status waiting.
OrderForm blankOrderForm(int number, const Value& today);

// The list entry a stored manufacturer selects: the 1-based position of the first entry that
// begins with the stored text without its trailing blanks (so an empty text selects entry 1),
// else 1.
int manufacturerItem(const std::vector<std::string>& entries, std::string_view stored);

// The fault description's memo text: every line followed by CR LF. Its inverse is
// orderSheetLines (text after the last CR LF is not a line).
std::string joinFaultLines(const std::vector<std::string>& lines);

// Reads the current record of the current area (Nalozi) by the load column: the number from
// BrNal, the manufacturer entry from `entries`, the device kind from the upper-cased Aparat
// (its first matching beginning), the "other" texts only when their button or box is set (50
// blanks otherwise), the fault lines cut at each CR LF.
OrderForm readOrderForm(const std::vector<std::string>& entries);

// Writes `f` onto the current record of the current area, which the caller holds locked, in
// field order from BrNal to Zavrsen. Aparat and Aparat_Ost are written only when a device kind
// is chosen (Aparat_Ost only for "OSTALO:"), Pribor_Ost only when the other-accessory box is
// set; every other field always.
void writeOrderForm(const OrderForm& f);

// The number a new order gets: BrNal of the last order in index order (deleted ones hidden)
// plus 1; 1 for an empty table. Selects Nalozi and leaves it on its last record.
int nextOrderNumber();

// Whether a (not deleted) order of `number` exists; false for a number outside 1..99999.
// Selects Nalozi and moves its record pointer.
bool orderExists(int number);

// The number the edit will hold once `key` is taken: for a digit key the current value
// written as text with the digit appended, read back; for any other key the current value.
int numberAfterKey(const Value& current, int key);

}  // namespace kv::app
