#include "app/core/orderrecord.h"

#include <cmath>
#include <string_view>

#include "app/core/messagedlg.h"
#include "app/core/ordersheet.h"
#include "engine/area/dbfunc.h"
#include "runtime/format/numfmt.h"
#include "runtime/lib/strings.h"

namespace kv::app {

using namespace kv::engine;

namespace {

Value get(const char* name) {
  return FIELDGET(FIELDPOS(Value(name)));
}

void put(const char* name, const Value& v) {
  FIELDPUT(FIELDPOS(Value(name)), v);
}

std::string text(const char* name) {
  return std::string(get(name).str());
}

std::string rtrim(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

const std::string kBlank50(50, ' ');
const std::string kBlank80(80, ' ');

}  // namespace

OrderNumber classifyOrderNumber(const Value& number) {
  const Value& n = number.deref();
  if (!n.isNumber()) return OrderNumber::Missing;
  const double v = n.asDouble();
  if (!(v >= 1)) return OrderNumber::Missing;  // NaN too
  if (v > kMaxOrderNumber) return OrderNumber::TooLarge;
  return OrderNumber::Valid;
}

std::string orderNumberText(int number) {
  return std::string(STRZERO(Value(number), Value(5)).str());
}

bool acceptOrderNumber(const Value& number) {
  switch (classifyOrderNumber(number)) {
    case OrderNumber::Valid:
      return true;
    case OrderNumber::Missing:
      MessageDlg(Value("Niste uneli Broj Naloga."), Value(2), Value(2), Value(5));
      return false;
    case OrderNumber::TooLarge:
      MessageDlg(Value("Broj naloga ne moze biti veci od 99999."), Value(2), Value(2), Value(5));
      return false;
  }
  return false;
}

OrderForm blankOrderForm(int number, const Value& today) {
  OrderForm f;
  f.number = number;
  f.date = today;
  f.korisnik = f.kontakt = f.model = f.serijskiBr = f.aparatOst = f.priborOst = kBlank50;
  f.telefonN = f.servisN = kBlank80;
  f.proizvodja = "Proizvodjac";
  f.proizvodjacItem = 1;
  return f;
}

int manufacturerItem(const std::vector<std::string>& entries, std::string_view stored) {
  const std::string want = rtrim(stored);
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (std::string_view(entries[i]).starts_with(want)) return static_cast<int>(i) + 1;
  return 1;
}

std::string joinFaultLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

OrderForm readOrderForm(const std::vector<std::string>& entries) {
  OrderForm f;
  f.number = VAL(get("BrNal")).asInt();
  f.date = get("DatNal");
  f.korisnik = text("Korisnik");
  f.kontakt = text("Kontakt");
  f.proizvodja = text("Proizvodja");
  f.proizvodjacItem = manufacturerItem(entries, f.proizvodja);
  f.model = text("Model");
  f.serijskiBr = text("SerijskiBr");
  const std::string aparat = upperText(text("Aparat"));
  f.deviceKind = 0;
  for (int k = 1; k <= kDeviceOther && f.deviceKind == 0; ++k)
    if (std::string_view(aparat).starts_with(kDeviceKinds[k - 1])) f.deviceKind = k;
  f.aparatOst = f.deviceKind == kDeviceOther ? text("Aparat_Ost") : kBlank50;
  f.punjac = get("Punjac").asBool();
  f.baterija = get("Baterija").asBool();
  f.linijskiK = get("Linijski_K").asBool();
  f.kartica = get("Kartica").asBool();
  f.priborO = get("Pribor_O").asBool();
  f.priborOst = f.priborO ? text("Pribor_Ost") : kBlank50;
  f.telefonN = text("Telefon_N");
  f.opisKvara = orderSheetLines(text("Opis_Kvara"));
  f.servisN = text("Servis_N");
  f.okvCena = get("Okv_cena").asDouble();
  f.konCena = get("Kon_cena").asDouble();
  f.naCekanju = get("Na_Cekanju").asBool();
  f.uObradi = get("U_Obradi").asBool();
  f.zavrsen = get("Zavrsen").asBool();
  return f;
}

void writeOrderForm(const OrderForm& f) {
  put("BrNal", Value(orderNumberText(f.number)));
  put("DatNal", f.date);
  put("Korisnik", Value(f.korisnik));
  put("Kontakt", Value(f.kontakt));
  put("Proizvodja", Value(f.proizvodja));
  put("Model", Value(f.model));
  put("SerijskiBr", Value(f.serijskiBr));
  if (f.deviceKind >= 1 && f.deviceKind <= kDeviceOther) {
    put("Aparat", Value(kDeviceKinds[f.deviceKind - 1]));
    if (f.deviceKind == kDeviceOther) put("Aparat_Ost", Value(f.aparatOst));
  }
  put("Punjac", Value(f.punjac));
  put("Baterija", Value(f.baterija));
  put("Linijski_K", Value(f.linijskiK));
  put("Kartica", Value(f.kartica));
  put("Pribor_O", Value(f.priborO));
  if (f.priborO) put("Pribor_Ost", Value(f.priborOst));
  put("Telefon_N", Value(f.telefonN));
  put("Opis_Kvara", Value(joinFaultLines(f.opisKvara)));
  put("Servis_N", Value(f.servisN));
  put("Okv_cena", Value(f.okvCena));
  put("Kon_cena", Value(f.konCena));
  put("Na_Cekanju", Value(f.naCekanju));
  put("U_Obradi", Value(f.uObradi));
  put("Zavrsen", Value(f.zavrsen));
}

int nextOrderNumber() {
  DBSELECTAREA(Value("Nalozi"));
  DBGOBOTTOM();
  if (__EOF().asBool()) return 1;
  return VAL(get("BrNal")).asInt() + 1;
}

bool orderExists(int number) {
  DBSELECTAREA(Value("Nalozi"));
  if (number < 1 || number > kMaxOrderNumber) return false;
  return DBSEEK(Value(orderNumberText(number))).asBool();
}

int numberAfterKey(const Value& current, int key) {
  const Value& v = current.deref();
  const double n = v.isNumber() ? v.asDouble() : 0;
  if (key < '0' || key > '9') return static_cast<int>(n);
  // The value as the edit shows it without blanks, the digit appended, read back.
  std::string digits = std::string(ALLTRIM(STR(Value(std::trunc(n)))).str());
  digits += static_cast<char>(key);
  return VAL(Value(digits)).asInt();
}

}  // namespace kv::app
