#include "app/fkalvedo_lists.h"

#include <string>

#include "app/core/customers.h"
#include "app/core/listnames.h"
#include "app/core/manufacturers.h"
#include "app/fkalvedo_orderform.h"
#include "runtime/error/callstack.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/memvars.h"
#include "ui/controls/control.h"
#include "ui/core/libobject.h"
#include "ui/dialogs/messagedlgedit.h"

namespace kv::app {

namespace {

const FormMethodEntry kMethods[] = {
    {"BrisiKorisnika", &BrisiKorisnika},
    {"BrisiProizvodjaca", &BrisiProizvodjaca},
    {"BrisiSveKorisnike", &BrisiSveKorisnike},
    {"BrisiSveProizvodjace", &BrisiSveProizvodjace},
    {"DodajProizvodjaca", &DodajProizvodjaca},
    {"PopuniKorisnike", &PopuniKorisnike},
    {"SnimiKorisnika", &SnimiKorisnika},
    {"eKontaktKorisnikaOnKeyDown", &eKontaktKorisnikaOnKeyDown},
    {"eNazivKorisnikaOnEnter", &eNazivKorisnikaOnEnter},
    {"eNazivKorisnikaOnKeyDown", &eNazivKorisnikaOnKeyDown},
    {"sgKorisniciOnClick", &sgKorisniciOnClick},
};

constexpr int kEnter = 13;

// The customer rows the grid shows (the public aKorisnici), an empty array when
// there are none.
Value customerRows() {
  Value rows = memvarGet("aKorisnici");
  if (!rows.isArray()) {
    rows = Value::newArray();
    memvarPut("aKorisnici", rows);
  }
  return rows;
}

std::string editText(const Value& self, const char* edit) {
  const Value v = send(component(self, edit), "Caption");
  return std::string(v.isString() ? v.str() : "");
}

// The customer group of the main window as the customer commands drive it.
class CustomerGroup : public CustomerView {
 public:
  explicit CustomerGroup(const Value& self) : self_(self) {}
  void showRows(int row) override {
    const Value grid = component(self_, "sgKorisnici");
    send(grid, "_Items", {customerRows()});
    if (row > 0) send(grid, "_Row", {Value(row)});
  }
  void clearEdits() override {
    const Value blanks(std::string(kNameWidth, ' '));
    send(component(self_, "eNazivKorisnika"), "_Caption", {blanks});
    send(component(self_, "eKontaktKorisnika"), "_Caption", {blanks});
  }
  void focusName() override { send(component(self_, "eNazivKorisnika"), "SetFocus"); }

 private:
  Value self_;
};

// Gives the combo box a rebuilt manufacturer list (when there is one) and,
// after an add, the entry to select.
void showMakers(const Value& self, const MakerResult& r) {
  if (r.list.items.isNil()) return;
  const Value combo = component(self, "csProizvodjaciTelefona");
  send(combo, "_Items", {r.list.items});
  if (r.selectItem) send(combo, "_ItemIndex", {Value(r.list.selected)});
}

// Makes the grid's current row the first customer whose name contains `text`.
void searchCustomer(const Value& self, std::string_view text) {
  send(component(self, "sgKorisnici"), "_Row", {Value(customerSearchRow(customerRows(), text))});
}

int keyOf(Args args) {
  const Value& key = arg(args, 1).deref();
  return key.isNumber() ? key.asInt() : 0;
}

}  // namespace

Value BrisiKorisnika(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "BRISIKORISNIKA");
  CustomerGroup view(self);
  deleteCustomer(editText(self, "eNazivKorisnika"), customerRows(), view);
  return Value();
}

Value BrisiProizvodjaca(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "BRISIPROIZVODJACA");
  showMakers(self, deleteManufacturer(comboText(component(self, "csProizvodjaciTelefona"))));
  return Value();
}

Value BrisiSveKorisnike(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "BRISISVEKORISNIKE");
  CustomerGroup view(self);
  deleteAllCustomers(customerRows(), view);
  return Value();
}

Value BrisiSveProizvodjace(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "BRISISVEPROIZVODJACE");
  showMakers(self, deleteAllManufacturers());
  return Value();
}

Value DodajProizvodjaca(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "DODAJPROIZVODJACA");
  ui::MessageDlgEditRequest request;
  request.caption = kMakerInputTitle;
  request.prompt = kMakerInputPrompt;
  request.value = Value(std::string(kNameWidth, ' '));
  request.picture = makerInputPicture();
  request.editWidth = kMakerInputWidth;
  request.position = 5;
  Value name;
  if (ui::runMessageDlgEdit(request, name) == 2) return Value();
  KV_LINE();
  showMakers(self, addManufacturer(name.isString() ? name.str() : ""));
  return Value();
}

Value PopuniKorisnike(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "POPUNIKORISNIKE");
  const Value rows = loadCustomerRows();
  memvarPut("aKorisnici", rows);
  const Value grid = component(self, "sgKorisnici");
  send(grid, "_Items", {rows});
  send(grid, "_Row", {Value(1)});
  return Value();
}

Value SnimiKorisnika(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "SNIMIKORISNIKA");
  CustomerGroup view(self);
  saveCustomer(editText(self, "eNazivKorisnika"), editText(self, "eKontaktKorisnika"),
               customerRows(), view);
  return Value();
}

Value eKontaktKorisnikaOnKeyDown(const Value& self, Args args) {
  KV_METHOD("TFKALVEDO", "EKONTAKTKORISNIKAONKEYDOWN");
  if (keyOf(args) == kEnter) send(self, "SnimiKorisnika");
  return Value();
}

Value eNazivKorisnikaOnEnter(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "ENAZIVKORISNIKAONENTER");
  const Value numberEdit = component(self, "eBrojNaloga");
  // While the window is taken down the focus may pass through here after the number edit is
  // gone: there is nothing to search then.
  if (!ui::libraryAs<ui::Control>(numberEdit)) return Value();
  const Value number = send(numberEdit, "Caption");
  if (!number.isNumber() || number.asDouble() <= 0) {
    // An order number comes first.
    send(component(self, "eBrojNaloga"), "SetFocus");
    return Value();
  }
  searchCustomer(self, editText(self, "eNazivKorisnika"));
  return Value();
}

Value eNazivKorisnikaOnKeyDown(const Value& self, Args args) {
  KV_METHOD("TFKALVEDO", "ENAZIVKORISNIKAONKEYDOWN");
  const int key = keyOf(args);
  if (key == kEnter) {
    send(self, "SnimiKorisnika");
    return Value();
  }
  searchCustomer(self, searchTextAfterKey(editText(self, "eNazivKorisnika"), key));
  return Value();
}

Value sgKorisniciOnClick(const Value& self, Args) {
  KV_METHOD("TFKALVEDO", "SGKORISNICIONCLICK");
  const Value grid = component(self, "sgKorisnici");
  send(component(self, "eNazivKorisnika"), "_Caption", {send(grid, "GetData", {Value(1)})});
  send(component(self, "eKontaktKorisnika"), "_Caption", {send(grid, "GetData", {Value(2)})});
  send(component(self, "eNazivKorisnika"), "SetFocus");
  return Value();
}

std::span<const FormMethodEntry> listMethods() {
  return kMethods;
}

}  // namespace kv::app
