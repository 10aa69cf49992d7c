#include "app/core/ordersheet.h"

#include <string_view>

#include "app/core/clausefile.h"
#include "app/core/makertexts.h"
#include "app/core/settingscommands.h"
#include "engine/area/dbfunc.h"
#include "runtime/format/dates.h"
#include "runtime/format/transform.h"
#include "runtime/lang/memvars.h"
#include "runtime/lib/filefuncs.h"
#include "runtime/lib/strings.h"

namespace kv::app {

using namespace kv::engine;

namespace {

using Kind = SheetItem::Kind;

std::string trimmed(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return std::string(s.substr(b, e - b));
}

// Adds a text item with the form's offset applied to its top and bottom.
void text(std::vector<SheetItem>& out, double o, std::array<double, 4> r, std::string s, int size,
          bool bold, int align) {
  SheetItem it;
  it.kind = Kind::Text;
  it.rect = {r[0], o + r[1], r[2], o + r[3]};
  it.text = std::move(s);
  it.fontSize = size;
  it.bold = bold;
  it.align = align;
  out.push_back(std::move(it));
}

void box(std::vector<SheetItem>& out, double o, std::array<double, 4> r) {
  SheetItem it;
  it.kind = Kind::Box;
  it.rect = {r[0], o + r[1], r[2], o + r[3]};
  out.push_back(std::move(it));
}

void line(std::vector<SheetItem>& out, double o, std::array<double, 4> r) {
  SheetItem it;
  it.kind = Kind::Line;
  it.rect = {r[0], o + r[1], r[2], o + r[3]};
  out.push_back(std::move(it));
}

std::string fieldText(const char* name) {
  const Value v = FIELDGET(FIELDPOS(Value(name)));
  return v.isString() ? v.toStdString() : std::string();
}

bool fieldFlag(const char* name) {
  return FIELDGET(FIELDPOS(Value(name))).asBool();
}

double fieldNumber(const char* name) {
  const Value v = FIELDGET(FIELDPOS(Value(name)));
  return v.isNumber() ? v.asDouble() : 0.0;
}

}  // namespace

std::string orderSheetFooterLeft() {
  const Value ver = memvarGet("VER");
  const std::string version = ver.isString() ? ver.toStdString() : std::string("1.04");
  return "Kalvedo " + version + kMakerProductLine + kMakerCredit;
}

std::string orderSheetFooterRight() {
  return kMakerWebAddress;
}

std::string orderSheetTitle(const OrderSheetData& d) {
  std::string date;
  for (char c : d.dateText)
    if (c != '.') date += c;
  return "ServisniNalog_" + d.number + "_" + date;
}

std::string orderSheetDevice(const OrderSheetData& d) {
  const std::string upper = upperText(d.aparat);
  std::string device = upper.rfind("OSTALO:", 0) == 0 ? trimmed(d.aparatOst) : trimmed(d.aparat);
  device += ' ';
  if (trimmed(d.proizvodja) != "Proizvodjac") device += d.proizvodja;
  return device;
}

std::string orderSheetAccessories(const OrderSheetData& d) {
  std::string s;
  if (d.punjac) s += "punjac, ";
  if (d.baterija) s += "baterija, ";
  if (d.linijskiK) s += "linijski kabl, ";
  if (d.kartica) s += "kartica, ";
  if (d.priborO) s += trimmed(d.priborOst) + ", ";
  // Upper-case the first letter, drop the final ", " and end with a full stop.
  if (!s.empty()) s = upperText(s.substr(0, 1)) + s.substr(1);
  s = s.size() >= 2 ? s.substr(0, s.size() - 2) : std::string();
  return s + ".";
}

std::string orderSheetPrice(double price) {
  if (price == 0) return {};
  return trimmed(TRANSFORM(Value(price), Value("9999999.99")).str());
}

std::vector<std::string> orderSheetLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t pos; (pos = text.find("\r\n", start)) != std::string::npos; start = pos + 2)
    lines.push_back(text.substr(start, pos - start));
  return lines;
}

std::vector<std::string> orderSheetClauseLines(const std::string& clause) {
  std::size_t b = 0, e = clause.size();
  while (b < e && (clause[b] == ' ' || clause[b] == '\t')) ++b;
  while (e > b && clause[e - 1] == ' ') --e;
  return orderSheetLines(clause.substr(b, e - b));
}

std::vector<SheetItem> orderSheetForm(const OrderSheetData& d, double o) {
  std::vector<SheetItem> out;
  // Header and title.
  text(out, o, {10, 5, 200, 10}, d.header[0], 12, true, 6);
  text(out, o, {10, 10, 200, 13}, d.header[1], 8, false, 6);
  text(out, o, {10, 14, 200, 17}, d.header[2], 8, false, 6);
  text(out, o, {10, 18, 200, 21}, d.header[3], 8, false, 6);
  text(out, o, {11, 25, 199, 30},
       "SERVISNI NALOG broj " + d.number + " // datum: " + d.dateText +
           " // korisnik: " + trimmed(d.korisnik),
       10, true, 0);
  // Boxes: the label and value cells of the five rows, the fault description, the prices,
  // the clause and the four signature fields.
  for (int k = 0; k < 5; ++k) {
    box(out, o, {10, 30.0 + 5 * k, 50, 35.0 + 5 * k});
    box(out, o, {50, 30.0 + 5 * k, 200, 35.0 + 5 * k});
  }
  box(out, o, {10, 55, 50, 80});
  box(out, o, {50, 55, 200, 80});
  box(out, o, {10, 80, 105, 85});
  box(out, o, {105, 80, 200, 85});
  box(out, o, {10, 85, 200, 110});
  box(out, o, {10, 115, 105, 125});
  box(out, o, {105, 115, 200, 125});
  box(out, o, {10, 125, 105, 135});
  box(out, o, {105, 125, 200, 135});
  // Labels.
  text(out, o, {12, 31, 48, 34}, "APARAT:", 8, true, 0);
  text(out, o, {12, 36, 48, 39}, "MODEL:", 8, true, 0);
  text(out, o, {12, 41, 48, 44}, "SERIJSKI BROJ:", 8, true, 0);
  text(out, o, {12, 46, 48, 49}, "PRIBOR:", 8, true, 0);
  text(out, o, {12, 51, 48, 54}, "NAPOMENA:", 8, true, 0);
  text(out, o, {12, 56, 48, 79}, "OPIS KVARA:", 8, true, 0);
  text(out, o, {12, 81, 104, 84}, d.croatian ? "OKVIRNA CIJENA:" : "OKVIRNA CENA:", 8, true, 0);
  text(out, o, {107, 81, 198, 84}, d.croatian ? "KONACNA CIJENA:" : "KONACNA CENA:", 8, true, 0);
  // Values.
  text(out, o, {52, 31, 198, 34}, orderSheetDevice(d), 8, false, 0);
  text(out, o, {52, 36, 198, 39}, d.model, 8, false, 0);
  text(out, o, {52, 41, 198, 44}, d.serijskiBr, 8, false, 0);
  text(out, o, {52, 46, 198, 50}, orderSheetAccessories(d), 8, false, 0);
  text(out, o, {52, 51, 198, 54}, d.telefonN, 8, false, 0);
  const std::vector<std::string> fault = orderSheetLines(d.opisKvara);
  for (std::size_t n = 0; n < fault.size(); ++n)
    text(out, o, {52, 56.0 + 4 * n, 198, 63.0 + 4 * n}, fault[n], 8, false, 0);
  text(out, o, {37, 81, 104, 84}, orderSheetPrice(d.okvCena), 8, false, 0);
  text(out, o, {133, 81, 198, 84}, orderSheetPrice(d.konCena), 8, false, 0);
  if (d.clause) {
    const std::vector<std::string> clause = orderSheetClauseLines(*d.clause);
    for (std::size_t n = 0; n < clause.size(); ++n)
      text(out, o, {12, 86.0 + 4 * n, 198, 114.0 + 4 * n}, clause[n], 8, false, 0);
  }
  // Signatures, footer and the two closing lines.
  text(out, o, {12, 116, 103, 124}, "Primio na servis:", 8, false, 6);
  text(out, o, {107, 116, 198, 124},
       d.croatian ? "Suglasan sa stanjem:" : "Saglasan sa stanjem:", 8, false, 6);
  text(out, o, {12, 126, 103, 134}, "Predao:", 8, false, 6);
  text(out, o, {107, 126, 198, 134}, "Preuzeo sa servisa:", 8, false, 6);
  line(out, o, {8, 140, 202, 140});
  text(out, o, {8, 141, 202, 144}, orderSheetFooterLeft(), 6, false, 0);
  text(out, o, {8, 141, 202, 144}, orderSheetFooterRight(), 6, false, 2);
  line(out, o, {8, 145, 202, 145});
  return out;
}

std::vector<SheetItem> orderSheetPage(const OrderSheetData& d) {
  std::vector<SheetItem> page = orderSheetForm(d, 0);
  std::vector<SheetItem> lower = orderSheetForm(d, 145);
  page.insert(page.end(), lower.begin(), lower.end());
  return page;
}

OrderSheetData orderSheetFromRecord() {
  OrderSheetData d;
  d.number = fieldText("BrNal");
  d.dateText = DTOC(FIELDGET(FIELDPOS(Value("DatNal")))).toStdString();
  d.korisnik = fieldText("Korisnik");
  d.proizvodja = fieldText("Proizvodja");
  d.model = fieldText("Model");
  d.serijskiBr = fieldText("SerijskiBr");
  d.aparat = fieldText("Aparat");
  d.aparatOst = fieldText("Aparat_Ost");
  d.punjac = fieldFlag("Punjac");
  d.baterija = fieldFlag("Baterija");
  d.linijskiK = fieldFlag("Linijski_K");
  d.kartica = fieldFlag("Kartica");
  d.priborO = fieldFlag("Pribor_O");
  d.priborOst = fieldText("Pribor_Ost");
  d.telefonN = fieldText("Telefon_N");
  d.opisKvara = fieldText("Opis_Kvara");
  d.okvCena = fieldNumber("Okv_cena");
  d.konCena = fieldNumber("Kon_cena");
  return d;
}

std::optional<OrderSheetData> findOrderSheet(const std::string& numberText) {
  DBSELECTAREA(Value("Nalozi"));
  if (!DBSEEK(Value(numberText)).asBool()) return std::nullopt;
  OrderSheetData d = orderSheetFromRecord();
  d.header = readHeaderLines();
  d.croatian = memvarGet("lJezikHrvatski").asBool();
  if (FILE(Value(kClauseFile))) d.clause = readClause();
  return d;
}

}  // namespace kv::app
