#pragma once
// Every setting the program keeps in its settings file, with its section, key, kind and
// default, and the copy count a print makes. (The header lines, the printer choice and the
// print language have their commands in app/core/settingscommands.) A setting is read through
// READINI with its default (a missing file or key, or an empty value, gives the default) and
// written through WRITEINI (a number as its decimal text, a logical as ".T." or ".F.", text as
// it is). Nothing is cached: each read opens the file anew.
//
// | Section     | Key               | Kind    | Default                            |
// |-------------|-------------------|---------|------------------------------------|
// | "Stampa"    | "Izbor Stampaca"  | logical | false                              |
// | "Stampa"    | "Broj primeraka"  | number  | 1                                  |
// | "Stampa"    | "Jezik"           | text    | "Srpski" ("Srpski" or "Hrvatski")  |
// | "Pregled"   | "Boja"            | logical | false                              |
// | "Pregled"   | "Boja-na Cekanju" | number  | 16777215 (a colour 0x00BBGGRR)     |
// | "Pregled"   | "Boja-u Obradi"   | number  | 16777215                           |
// | "Pregled"   | "Boja-Zavrsen"    | number  | 16777215                           |
// | "Zaglavlje" | "Naziv firme"     | text    | "[naziv firme]"                    |
// | "Zaglavlje" | "Drugi red"       | text    | "[delatnost, reklamni slogan]"     |
// | "Zaglavlje" | "Treci red"       | text    | "[mesto, ulica i broj, telefon]"   |
// | "Zaglavlje" | "Cetvrti red"     | text    | "[kontakt, web adresa, mail]"      |

#include "runtime/value/value.h"

namespace kv::app {

enum class Setting {
  IzborStampaca,  // ask for the printer before printing
  BrojPrimeraka,  // copies of a printed order
  Jezik,          // the printed order's language
  Boja,           // the overview coloured by state
  BojaNaCekanju,  // the colours of the three states
  BojaUObradi,
  BojaZavrsen,
  NazivFirme,  // the four header lines of a printed order
  DrugiRed,
  TreciRed,
  CetvrtiRed,
};

struct SettingKey {
  const char* section;
  const char* key;
};

// The section and key of a setting.
SettingKey settingKey(Setting s);
// Its default, of the setting's kind.
Value settingDefault(Setting s);

// READINI of the setting with its default.
Value readSetting(Setting s);
// WRITEINI of the setting.
void writeSetting(Setting s, const Value& value);

// The colour every state has until one is chosen: white.
inline constexpr int kWhite = 16777215;

// The largest number of copies the input box takes (three digits).
inline constexpr int kMaxCopies = 999;

// The copies a print makes: "Broj primeraka", where a value below 1 (a 0 stored by an older
// version of the program, which then printed nothing) means one copy.
int printCopies();

// True for a number of copies the input box may close with: a whole number of 1..kMaxCopies.
bool acceptCopies(const Value& copies);

}  // namespace kv::app
