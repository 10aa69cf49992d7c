#include "app/fkalvedo_orderform.h"

#include "app/core/clausefile.h"
#include "app/fkalvedo.h"
#include "runtime/lang/classes.h"

namespace kv::app {

namespace {

// The device-kind buttons in the order of kDeviceKinds.
constexpr const char* kKindButtons[] = {"rbZicniTelefon", "rbBezicniTelefon", "rbMobilniTelefon",
                                        "rbTelefaksUredjaj", "rbOstalo"};

struct Flag {
  const char* control;
  bool OrderForm::*field;
};
constexpr Flag kFlags[] = {
    {"cbPunjac", &OrderForm::punjac},          {"cbBaterija", &OrderForm::baterija},
    {"cbLinijskiKabl", &OrderForm::linijskiK}, {"cbKartica", &OrderForm::kartica},
    {"cbOstalo", &OrderForm::priborO},         {"rbNaCekanju", &OrderForm::naCekanju},
    {"rbUObradi", &OrderForm::uObradi},        {"rbZavrsen", &OrderForm::zavrsen},
};

struct Text {
  const char* control;
  std::string OrderForm::*field;
};
constexpr Text kTexts[] = {
    {"eNazivKorisnika", &OrderForm::korisnik},  {"eKontaktKorisnika", &OrderForm::kontakt},
    {"eModelTelefona", &OrderForm::model},      {"eSerijskiBrojTelefona", &OrderForm::serijskiBr},
    {"eOstaloTelefon", &OrderForm::aparatOst},  {"eOstaloPribor", &OrderForm::priborOst},
    {"eNapomenaTelefon", &OrderForm::telefonN}, {"eNapomenaServis", &OrderForm::servisN},
};

std::string captionText(const Value& self, const char* control) {
  const Value v = send(component(self, control), "Caption");
  return std::string(v.isString() ? v.str() : "");
}

double captionNumber(const Value& self, const char* control) {
  const Value v = send(component(self, control), "Caption");
  return v.isNumber() ? v.asDouble() : 0;
}

bool checked(const Value& self, const char* control) {
  return send(component(self, control), "Checked").asBool();
}

void check(const Value& self, const char* control, bool on) {
  send(component(self, control), "_Checked", {Value(on)});
}

std::string joinedLines(const std::vector<std::string>& lines) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i) out += "\r\n";
    out += lines[i];
  }
  return out;
}

}  // namespace

std::string comboText(const Value& combo) {
  const int index = send(combo, "ItemIndex").asInt();
  const Value items = send(combo, "Items");
  if (index >= 1 && static_cast<std::size_t>(index) <= items.arrayLen()) {
    const Value& entry = items.arr()->items[index - 1];
    if (entry.isString()) return std::string(entry.str());
  }
  const Value caption = send(combo, "Caption");
  return std::string(caption.isString() ? caption.str() : "");
}

Value orderNumberValue(const Value& self) {
  const Value v = send(component(self, "eBrojNaloga"), "Caption");
  return v.isNumber() ? v : Value(0);
}

OrderForm readOrderControls(const Value& self) {
  OrderForm f;
  const Value number = orderNumberValue(self);
  // A number beyond an int is still too large; the save refuses it by its value.
  const double n = number.asDouble();
  f.number = n > 1e9 ? 1'000'000'000 : static_cast<int>(n);
  f.date = send(component(self, "dtpDatumNaloga"), "Date");
  for (const Text& t : kTexts) f.*t.field = captionText(self, t.control);
  f.proizvodja = comboText(component(self, "csProizvodjaciTelefona"));
  f.deviceKind = 0;
  for (int k = 1; k <= kDeviceOther && f.deviceKind == 0; ++k)
    if (checked(self, kKindButtons[k - 1])) f.deviceKind = k;
  for (const Flag& fl : kFlags) f.*fl.field = checked(self, fl.control);
  const Value memo = send(component(self, "mOpisKvara"), "Lines");
  f.opisKvara = memoLines(memo.isString() ? memo.str() : "");
  f.okvCena = captionNumber(self, "eOkvCena");
  f.konCena = captionNumber(self, "eKonCena");
  return f;
}

void showOrderControls(const Value& self, const OrderForm& f) {
  send(component(self, "dtpDatumNaloga"), "_Date", {f.date});
  for (const Text& t : kTexts) send(component(self, t.control), "_Caption", {Value(f.*t.field)});
  send(component(self, "csProizvodjaciTelefona"), "_ItemIndex", {Value(f.proizvodjacItem)});
  for (int k = 1; k <= kDeviceOther; ++k) check(self, kKindButtons[k - 1], f.deviceKind == k);
  for (const Flag& fl : kFlags) check(self, fl.control, f.*fl.field);
  send(component(self, "mOpisKvara"), "_Lines", {Value(joinedLines(f.opisKvara))});
  send(component(self, "eOkvCena"), "_Caption", {Value(f.okvCena)});
  send(component(self, "eKonCena"), "_Caption", {Value(f.konCena)});
}

void enableOrderCommands(const Value& self, bool enabled) {
  send(component(self, "bSnimiNalog"), "_Enabled", {Value(enabled)});
  send(component(self, "bBrisiNalog"), "_Enabled", {Value(enabled)});
}

}  // namespace kv::app
