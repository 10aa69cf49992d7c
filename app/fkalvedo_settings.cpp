#include "app/fkalvedo_settings.h"

namespace kv::app {

namespace {

const FormMethodEntry kMethods[] = {
    {"BrojPrimerakaStampe", &BrojPrimerakaStampe},
    {"IzborStampaca", &IzborStampaca},
    {"Jezik", &Jezik},
    {"UnosKlauzule", &UnosKlauzule},
    {"ZaglavljeNaloga", &ZaglavljeNaloga},
};

}  // namespace

Value BrojPrimerakaStampe(const Value&, Args) {
  return notBuiltYet("BrojPrimerakaStampe");
}

Value IzborStampaca(const Value&, Args) {
  return notBuiltYet("IzborStampaca");
}

Value Jezik(const Value&, Args) {
  return notBuiltYet("Jezik");
}

Value UnosKlauzule(const Value&, Args) {
  return notBuiltYet("UnosKlauzule");
}

Value ZaglavljeNaloga(const Value&, Args) {
  return notBuiltYet("ZaglavljeNaloga");
}

std::span<const FormMethodEntry> settingsMethods() {
  return kMethods;
}

}  // namespace kv::app
