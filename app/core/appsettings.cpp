#include "app/core/appsettings.h"

#include <cmath>

#include "app/core/settingsfile.h"

namespace kv::app {

namespace {

struct SettingDef {
  Setting setting;
  SettingKey key;
  char kind;  // 'L' logical, 'N' number, 'C' text
  int number;
  const char* text;
};

constexpr SettingDef kSettings[] = {
    {Setting::IzborStampaca, {"Stampa", "Izbor Stampaca"}, 'L', 0, nullptr},
    {Setting::BrojPrimeraka, {"Stampa", "Broj primeraka"}, 'N', 1, nullptr},
    {Setting::Jezik, {"Stampa", "Jezik"}, 'C', 0, "Srpski"},
    {Setting::Boja, {"Pregled", "Boja"}, 'L', 0, nullptr},
    {Setting::BojaNaCekanju, {"Pregled", "Boja-na Cekanju"}, 'N', kWhite, nullptr},
    {Setting::BojaUObradi, {"Pregled", "Boja-u Obradi"}, 'N', kWhite, nullptr},
    {Setting::BojaZavrsen, {"Pregled", "Boja-Zavrsen"}, 'N', kWhite, nullptr},
    {Setting::NazivFirme, {"Zaglavlje", "Naziv firme"}, 'C', 0, "[naziv firme]"},
    {Setting::DrugiRed, {"Zaglavlje", "Drugi red"}, 'C', 0, "[delatnost, reklamni slogan]"},
    {Setting::TreciRed, {"Zaglavlje", "Treci red"}, 'C', 0, "[mesto, ulica i broj, telefon]"},
    {Setting::CetvrtiRed, {"Zaglavlje", "Cetvrti red"}, 'C', 0, "[kontakt, web adresa, mail]"},
};

const SettingDef& def(Setting s) {
  return kSettings[static_cast<int>(s)];
}

}  // namespace

SettingKey settingKey(Setting s) {
  return def(s).key;
}

Value settingDefault(Setting s) {
  const SettingDef& d = def(s);
  switch (d.kind) {
    case 'L':
      return Value(d.number != 0);
    case 'N':
      return Value(d.number);
    default:
      return Value(d.text);
  }
}

Value readSetting(Setting s) {
  const SettingKey k = settingKey(s);
  return READINI(Value(k.section), Value(k.key), settingDefault(s));
}

void writeSetting(Setting s, const Value& value) {
  const SettingKey k = settingKey(s);
  WRITEINI(Value(k.section), Value(k.key), value);
}

int printCopies() {
  const Value v = readSetting(Setting::BrojPrimeraka);
  const double n = v.isNumber() ? v.asDouble() : 0;
  if (!(n >= 1)) return 1;  // NaN too
  return n > kMaxCopies ? kMaxCopies : static_cast<int>(n);
}

bool acceptCopies(const Value& copies) {
  const Value& v = copies.deref();
  if (!v.isNumber()) return false;
  const double n = v.asDouble();
  return n >= 1 && n <= kMaxCopies && std::floor(n) == n;
}

}  // namespace kv::app
