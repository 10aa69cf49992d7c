#pragma once
// The runtime's settings table, addressed by number as SET() addresses it. Only the settings
// the program uses have names here; every number from 0 to kSettingCount - 1 can be read
// and written.
#include "runtime/value/value.h"

namespace kv {

enum Setting : int {
  kSetExact = 1,       // exact string comparison (logical, off)
  kSetFixed = 2,       // fixed-decimals flag (logical, off)
  kSetDecimals = 3,    // decimals in fixed mode (number, 2)
  kSetDateFormat = 4,  // date format text ("mm/dd/yy")
  kSetEpoch = 5,       // epoch year for two-digit years (1900)
  kSetPath = 6,        // search path for data files ("")
  kSetDefault = 7,     // default directory for data files ("")
  kSetExclusive = 8,   // open tables exclusively by default (logical)
  kSetSoftSeek = 9,    // soft seek by default (logical, off)
  kSetUnique = 10,     // unique indexes by default (logical, off)
  kSetDeleted = 11,    // hide deleted records (logical, off)
  kSettingCount = 48,
};

// Puts every setting back to its default (done once at start-up).
void resetSettings();
// Drops every setting's value (the end of the run, before the leak report).
void releaseSettings();

// The current value of setting n (nil for a number outside the table).
const Value& setting(int n);
// Replaces setting n. The date format is stored up to 12 characters.
void setSetting(int n, const Value& v);

// SET(n [, new]): answers the old value and, when a new one is given (not nil), stores it.
Value SET(int n, const Value& newValue = Value());

// Typed readers for the engine and the formatting code.
bool setFlag(int n);
int setNumber(int n);
std::string setText(int n);

}  // namespace kv
