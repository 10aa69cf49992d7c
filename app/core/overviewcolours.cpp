#include "app/core/overviewcolours.h"

#include "app/core/appsettings.h"
#include "app/core/settingsfile.h"

namespace kv::app {

namespace {

int colourSetting(Setting s) {
  const Value v = readSetting(s);
  return v.isNumber() ? v.asInt() : kWhite;
}

}  // namespace

int StatusColours::colourOf(std::string_view status) {
  refresh();
  if (status == "Zavrsen") return zavrsen_;
  if (status == "na Cekanju") return naCekanju_;
  return uObradi_;
}

void StatusColours::refresh() {
  const std::string file = settingsFileName();
  const platform::FileStamp stamp = platform::fileStamp(file);
  if (valid_ && generation_ == settingsGeneration() && file == file_ && stamp == stamp_) return;
  // The stamp is taken before the read: a change made while the keys are read shows as a new
  // stamp at the next question rather than being missed.
  generation_ = settingsGeneration();
  file_ = file;
  stamp_ = stamp;
  naCekanju_ = colourSetting(Setting::BojaNaCekanju);
  uObradi_ = colourSetting(Setting::BojaUObradi);
  zavrsen_ = colourSetting(Setting::BojaZavrsen);
  valid_ = true;
  ++reads_;
}

StatusColours& statusColours() {
  static StatusColours colours;
  return colours;
}

}  // namespace kv::app
