#include "app/fkalvedo_settings.h"

#include <string>

#include "app/core/appsettings.h"
#include "app/core/settingscommands.h"
#include "app/fklauzula.h"
#include "app/fzaglavlje.h"
#include "runtime/error/callstack.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/memvars.h"
#include "ui/dialogs/messagedlgedit.h"
#include "ui/forms/application.h"

namespace kv::app {

namespace {

const FormMethodEntry kMethods[] = {
    {"BrojPrimerakaStampe", &BrojPrimerakaStampe},
    {"IzborStampaca", &IzborStampaca},
    {"Jezik", &Jezik},
    {"UnosKlauzule", &UnosKlauzule},
    {"ZaglavljeNaloga", &ZaglavljeNaloga},
};

// Sets the check mark of the main menu's entry whose number the public `item`
// holds.
void check(const Value& self, const char* item, bool on) {
  send(component(self, "MainMenu1"), "SetChecked", {memvarGet(item), Value(on)});
}

}  // namespace

Value BrojPrimerakaStampe(const Value&, Args) {
  KV_METHOD("TFKALVEDO", "BROJPRIMERAKASTAMPE");
  ui::MessageDlgEditRequest request;
  request.caption = "Unos";
  request.prompt = "Broj primeraka:";
  request.value = Value(printCopies());
  request.picture = "999";
  request.editWidth = 50;
  request.position = 5;
  // A count of 0 would print nothing: the box stays open until 1..999 is given.
  request.accept = &acceptCopies;
  Value copies;
  if (ui::runMessageDlgEdit(request, copies) != 1) return Value();
  KV_LINE();
  writeCopies(copies);
  return Value();
}

Value IzborStampaca(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "IZBORSTAMPACA");
  const bool on = toggleIzborStampaca();
  check(self, "nIzborStampaca", on);
  return Value();
}

Value Jezik(const Value& self, Args args) {
  KV_METHOD("TFKALVEDO", "JEZIK");
  setJezik(arg(args, 0));
  check(self, "nJezikSrpski", memvarGet("lJezikSrpski").asBool());
  check(self, "nJezikHrvatski", memvarGet("lJezikHrvatski").asBool());
  return Value();
}

Value UnosKlauzule(const Value&, Args) {
  KV_METHOD("TFKALVEDO", "UNOSKLAUZULE");
  Value form = TFKLAUZULA();
  send(form, "Create", {ui::applicationObject()});
  KV_LINE();
  send(form, "Show");
  send(form, "BringToFront");
  return Value();
}

Value ZaglavljeNaloga(const Value&, Args) {
  KV_METHOD("TFKALVEDO", "ZAGLAVLJENALOGA");
  Value form = TFZAGLAVLJE();
  send(form, "Create", {ui::applicationObject()});
  send(form, "_Caption", {Value("Kalvedo : Zaglavlje Naloga")});
  KV_LINE();
  send(form, "ShowModal");
  // Each call makes a new form: the one closed is destroyed, not kept hidden.
  send(form, "Destroy");
  return Value();
}

std::span<const FormMethodEntry> settingsMethods() {
  return kMethods;
}

}  // namespace kv::app
