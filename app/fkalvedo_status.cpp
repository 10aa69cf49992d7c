#include "app/fkalvedo_status.h"

#include "app/core/settingsfile.h"
#include "app/core/makertexts.h"
#include "runtime/error/callstack.h"
#include "runtime/format/dates.h"
#include "runtime/format/numfmt.h"
#include "runtime/lang/classes.h"

namespace kv::app {

namespace {

// The shop's name as the header form stores it; the maker's credit until one is entered.
std::string shopName() {
  return std::string(
      READINI(Value("Zaglavlje"), Value("Naziv firme"), Value(kMakerShopName)).str());
}

const FormMethodEntry kMethods[] = {{"Timer1OnTimer", &Timer1OnTimer}};

}  // namespace

bool statusText(int seconds, const std::string& shop, std::string& text) {
  switch (seconds / 10) {
    case 0:
    case 3:
      text = kMakerAddress;
      return true;
    case 1:
      text = " " + shop;
      return true;
    case 2:
      text = " Kalvedo";
      return true;
    case 5:
      text = kMakerSecondCredit;
      return true;
    default:  // 40-49: the text stays
      return false;
  }
}

Value Timer1OnTimer(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "TIMER1ONTIMER");
  // The time text is "hh:mm:ss"; its seconds are characters 7 and 8.
  const std::string time(TIME().str());
  const int seconds = time.size() >= 8 ? VAL(Value(time.substr(6, 2))).asInt() : 0;
  std::string text;
  const std::string shop = seconds / 10 == 1 ? shopName() : std::string();
  if (statusText(seconds, shop, text)) send(component(self, "Panel1"), "_Caption", {Value(text)});
  return Value();
}

std::span<const FormMethodEntry> statusMethods() {
  return kMethods;
}

}  // namespace kv::app
