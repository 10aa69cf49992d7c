#pragma once
// The settings commands of the main menu below the window: what each reads and writes, the
// header lines with their bracketed placeholders. The window part adds
// the check marks of the menu entries, the input box and the two small forms.
#include <array>
#include <string>

#include "runtime/value/value.h"

namespace kv::app {

// The four header lines printed at the top of every work order: keys of section "Zaglavlje",
// what a first-time user sees, and the longest text the header form accepts.
struct HeaderLineSetting {
  const char* key;
  const char* placeholder;
  int maxLength;
};
extern const std::array<HeaderLineSetting, 4> kHeaderLines;

// The four header lines as READINI answers them (a missing or blank one is its placeholder).
std::array<std::string, 4> readHeaderLines();
// Writes the four texts to their keys, in order. An empty text is stored empty and reads as
// the placeholder again.
void writeHeaderLines(const std::array<std::string, 4>& lines);

// "Stampa" / "Broj primeraka", default 1: the number of copies printed.
Value readCopies();
// Stores the number of copies; no range check (0 is stored, and then no page is printed).
void writeCopies(const Value& copies);

// IzborStampaca below the window: inverts the public lIzborStampaca (nil counts as false),
// writes it to "Stampa" / "Izbor Stampaca" and answers the new value for the check mark.
bool toggleIzborStampaca();

// Jezik below the window: lJezikSrpski := (language == "Srpski"), lJezikHrvatski :=
// (language == "Hrvatski"), both compared exactly; writes the language to "Stampa" / "Jezik".
void setJezik(const Value& language);

// The start-up reads of the settings held in public variables: lIzborStampaca ("Stampa" /
// "Izbor Stampaca", false), lColorPregled ("Pregled" / "Boja", false), and the language flags
// from "Stampa" / "Jezik" (default "Srpski"), as setJezik sets them but without writing.
void readSettingFlags();

}  // namespace kv::app
