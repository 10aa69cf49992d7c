#pragma once
// The program's settings: one settings file in profile (INI) format, named after the
// executable ("kalvedo" -> "kalvedo.ini") and kept where platform/programdirs.h says (beside
// the executable, else in the user's configuration directory). Every read and write opens
// the file anew, so a value written is seen by the next read at once, also by another
// station sharing the file.
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/value/value.h"

namespace kv::app {

// Argument errors (general code 1, subsystem "BASE"): a section or key that is not text, or
// a value WRITEINI cannot write.
constexpr int kReadIniArg = 3010;
constexpr int kWriteIniArg = 3011;

// The settings file's full name: the settings directory + `base` (a non-empty text), or the
// executable's name without its extension, + ".ini".
std::string settingsFileName(const Value& base = Value());

// READINI(section, key, default [, base]): the setting converted to the kind of the default.
// A missing file or key, or a value of nothing but blanks, answers the default itself.
// Otherwise: for a number default the number at the start of the text (0 when it does not
// start with one); for a date the text read under the date format; for a logical true
// exactly when the text is ".T." (".t." and "T" are false); for any other default the text.
Value READINI(const Value& section, const Value& key, const Value& deflt,
              const Value& base = Value());

// WRITEINI(section, key, value [, base]): stores the value as text: a number as its decimal
// text without blanks ("16777215"), a date under the date format ("dd.mm.yyyy" in this
// program), a logical as ".T." or ".F.", text as it is. Other kinds raise kWriteIniArg. A
// file that cannot be written loses the value without a message, as the profile rules have it.
void WRITEINI(const Value& section, const Value& key, const Value& value,
              const Value& base = Value());

// A number that changes whenever this process writes the settings file (WRITEINI, whether or
// not the write reached the disk) or moves it (setSettingsDir): a reader that keeps what it
// read knows by it that what it keeps may be stale.
std::uint64_t settingsGeneration();

// Registers READINI and WRITEINI by name.
void registerSettingsFileFunctions();

// Keeps the settings file in `dir` instead (tests); an empty text puts the usual place back.
void setSettingsDir(std::string_view dir);

}  // namespace kv::app
