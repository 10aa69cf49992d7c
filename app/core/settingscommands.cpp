#include "app/core/settingscommands.h"

#include "app/core/settingsfile.h"
#include "runtime/lang/memvars.h"

namespace kv::app {

namespace {

// A public variable that may not be declared yet (a command run before start-up declared it).
void putFlag(const char* name, bool value) {
  if (!memvarExists(name)) PUBLIC(name);
  memvarPut(name, Value(value));
}

void setLanguageFlags(const Value& language) {
  const Value& l = language.deref();
  const std::string_view text = l.isString() ? l.str() : std::string_view();
  putFlag("lJezikSrpski", l.isString() && text == "Srpski");
  putFlag("lJezikHrvatski", l.isString() && text == "Hrvatski");
}

}  // namespace

const std::array<HeaderLineSetting, 4> kHeaderLines = {{
    {"Naziv firme", "[naziv firme]", 50},
    {"Drugi red", "[delatnost, reklamni slogan]", 100},
    {"Treci red", "[mesto, ulica i broj, telefon]", 100},
    {"Cetvrti red", "[kontakt, web adresa, mail]", 100},
}};

std::array<std::string, 4> readHeaderLines() {
  std::array<std::string, 4> lines;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    lines[i] =
        READINI(Value("Zaglavlje"), Value(kHeaderLines[i].key), Value(kHeaderLines[i].placeholder))
            .toStdString();
  }
  return lines;
}

void writeHeaderLines(const std::array<std::string, 4>& lines) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    WRITEINI(Value("Zaglavlje"), Value(kHeaderLines[i].key), Value(lines[i]));
}

Value readCopies() {
  return READINI(Value("Stampa"), Value("Broj primeraka"), Value(1));
}

void writeCopies(const Value& copies) {
  WRITEINI(Value("Stampa"), Value("Broj primeraka"), copies);
}

bool toggleIzborStampaca() {
  const bool now = !(memvarExists("lIzborStampaca") && memvarGet("lIzborStampaca").asBool());
  putFlag("lIzborStampaca", now);
  WRITEINI(Value("Stampa"), Value("Izbor Stampaca"), Value(now));
  return now;
}

void setJezik(const Value& language) {
  setLanguageFlags(language);
  WRITEINI(Value("Stampa"), Value("Jezik"), language);
}

void readSettingFlags() {
  putFlag("lIzborStampaca",
          READINI(Value("Stampa"), Value("Izbor Stampaca"), Value(false)).asBool());
  putFlag("lColorPregled", READINI(Value("Pregled"), Value("Boja"), Value(false)).asBool());
  setLanguageFlags(READINI(Value("Stampa"), Value("Jezik"), Value("Srpski")));
}

}  // namespace kv::app
