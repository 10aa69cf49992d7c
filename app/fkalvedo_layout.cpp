#include "app/fkalvedo_layout.h"

#include <string>

#include "app/fkalvedo_menus.h"
#include "app/core/makertexts.h"
#include "runtime/error/callstack.h"
#include "runtime/format/dates.h"
#include "runtime/lang/classes.h"
#include "runtime/lang/codeblock.h"
#include "runtime/lib/arrays.h"
#include "ui/controls/button.h"
#include "ui/controls/checkbox.h"
#include "ui/controls/combobox.h"
#include "ui/controls/datetimepicker.h"
#include "ui/controls/edit.h"
#include "ui/controls/groupbox.h"
#include "ui/controls/image.h"
#include "ui/controls/label.h"
#include "ui/controls/labelededit.h"
#include "ui/controls/memo.h"
#include "ui/controls/panel.h"
#include "ui/controls/radiobutton.h"
#include "ui/controls/speedbutton.h"
#include "ui/controls/timer.h"
#include "ui/core/classlang.h"
#include "ui/dialogs/colordialog.h"
#include "ui/grid/stringgrid.h"
#include "ui/menus/menu.h"

namespace kv::app {

namespace {

// The picture of a text field of `n` characters: n times "X".
Value anyText(int n) {
  return Value(std::string(static_cast<std::size_t>(n), 'X'));
}

Value texts(std::initializer_list<const char*> items) {
  Value out = Value::newArray();
  for (const char* s : items) AADD(out, Value(s));
  return out;
}

Value numbers(std::initializer_list<int> items) {
  Value out = Value::newArray();
  for (int n : items) AADD(out, Value(n));
  return out;
}

// Makes the components of one form: each is created with its owner and kept in the form's
// instance variable of its name.
class Builder {
 public:
  explicit Builder(const Value& form) : form_(form) {}

  Value make(Value (*cls)(), const Value& owner, const char* name) {
    Value c = cls();
    send(c, "Create", {owner});
    send(form_, std::string("_") + name, {c});
    return c;
  }
  // A control placed with left, top, width and height.
  Value make(Value (*cls)(), const Value& owner, const char* name, int l, int t, int w, int h) {
    Value c = make(cls, owner, name);
    send(c, "SetBounds", {Value(l), Value(t), Value(w), Value(h)});
    return c;
  }
  // A control placed with left and top only: it keeps the library's default size.
  Value make(Value (*cls)(), const Value& owner, const char* name, int l, int t) {
    Value c = make(cls, owner, name);
    send(c, "SetPos", {Value(l), Value(t)});
    return c;
  }
  // A labelled edit with its label's caption.
  Value labeled(const Value& owner, const char* name, int l, int t, int w, int h,
                const char* label) {
    Value c = make(&ui::TLabeledEdit, owner, name, l, t, w, h);
    send(c, "_LabelCaption", {Value(label)});
    return c;
  }
  // A radio button of the device kinds or the states: automatic, so checking one clears the
  // others of its group box.
  Value radio(const Value& owner, const char* name, int l, int t, const char* caption) {
    Value c = make(&ui::TRadioButton, owner, name, l, t);
    send(c, "_Caption", {Value(caption)});
    send(c, "_Auto", {Value(true)});
    return c;
  }
  Value check(const Value& owner, const char* name, int l, int t, const char* caption) {
    Value c = make(&ui::TCheckBox, owner, name, l, t);
    send(c, "_Caption", {Value(caption)});
    return c;
  }
  Value group(const char* name, int l, int t, int w, int h, const char* caption) {
    Value c = make(&ui::TGroupBox, form_, name, l, t, w, h);
    send(c, "_Caption", {Value(caption)});
    return c;
  }
  // A pop-up speed button: the combo box's arrow as its glyph (system bitmap 32738 on the
  // olive mask colour), out of the tab order.
  Value dropButton(const Value& owner, const char* name, int l, int t, const char* hint) {
    Value c = make(&ui::TSpeedButton, owner, name, l, t, 18, 18);
    send(c, "_Hint", {Value(hint)});
    send(c, "_TabStop", {Value(false)});
    const Value glyph = send(c, "Glyph");
    send(send(glyph, "Bitmap"), "_Name", {Value(32738)});
    for (const char* form : {"Bitmap", "JPeg", "Gif"}) {
      send(send(glyph, form), "_MaskColor", {Value(32896)});
    }
    return c;
  }
  void on(const Value& c, const char* event, const char* method) {
    send(c, event, {formEvent(form_, method)});
  }

 private:
  Value form_;
};

void makeOrderGroup(Builder& b, const Value& form) {
  const Value gb = b.group("gbNalog", 8, 0, 201, 105, "Nalog");
  Value broj = b.labeled(gb, "eBrojNaloga", 8, 32, 73, 21, "Broj:");
  send(broj, "_Picture", {Value("999999")});
  send(broj, "_Caption", {Value(0)});
  b.on(broj, "_OnKeyDown", "eBrojNalogaOnKeyDown");
  Value datum = b.make(&ui::TDateTimePicker, gb, "dtpDatumNaloga", 104, 32, 88, 21);
  send(datum, "_TabStop", {Value(false)});
  send(datum, "_Date", {CTOD(Value("10/06/2007"))});
  send(datum, "_Time", {Value("14:12:59")});
  Value pretraga = b.labeled(gb, "ePretragaNaloga", 8, 72, 185, 21, "Pretraga:");
  // An edit takes as many characters as its template has; without a picture the empty text it
  // starts with would take none.
  send(pretraga, "_Picture", {anyText(50)});
  send(pretraga, "_Hint", {Value("Pretraga Naloga po Korisniku, Kontaktu, Modelu i Ser.Broju")});
  send(pretraga, "_TabStop", {Value(false)});
  b.on(pretraga, "_OnKeyDown", "ePretragaNalogaOnKeyDown");
  Value label = b.make(&ui::TLabel, gb, "Label1", 104, 16);
  send(label, "_Caption", {Value("Datum:")});
  b.on(b.dropButton(gb, "sbMenuNalog", 81, 32, "Novi Nalog"), "_OnClick", "sbMenuNalogOnClick");
  (void)form;
}

void makeCustomerGroup(Builder& b, const Value& form) {
  const Value gb = b.group("gbKorisnik", 216, 0, 481, 105, "Korisnik");
  Value naziv = b.labeled(gb, "eNazivKorisnika", 8, 32, 145, 21, "Naziv:");
  send(naziv, "_Picture", {anyText(50)});
  b.on(naziv, "_OnEnter", "eNazivKorisnikaOnEnter");
  b.on(naziv, "_OnKeyDown", "eNazivKorisnikaOnKeyDown");
  Value kontakt = b.labeled(gb, "eKontaktKorisnika", 8, 72, 145, 21, "Kontakt:");
  send(kontakt, "_Picture", {anyText(50)});
  b.on(kontakt, "_OnKeyDown", "eKontaktKorisnikaOnKeyDown");
  b.on(b.dropButton(gb, "sbMenuKorisnika", 153, 32, "Dodavanje/ Brisanje korisnika"), "_OnClick",
       "sbMenuKorisnikaOnClick");
  Value grid = b.make(&ui::TStringGrid, gb, "sgKorisnici", 176, 12, 297, 85);
  send(grid, "_Header", {texts({"Korisnik", "Kontakt"})});
  send(grid, "_TabStop", {Value(false)});
  send(grid, "_RowSelect", {Value(true)});
  send(grid, "_ScrollBars", {Value(2)});
  send(grid, "_Sizes", {numbers({160, 100})});
  b.on(grid, "_OnClick", "sgKorisniciOnClick");
  (void)form;
}

void makeDeviceGroup(Builder& b) {
  const Value gb = b.group("gbTelefon", 8, 108, 777, 141, "Telefon");
  b.make(&ui::TComboBox, gb, "csProizvodjaciTelefona", 16, 24, 145, 21);
  Value model = b.labeled(gb, "eModelTelefona", 16, 56, 120, 21, "- Model");
  send(model, "_LabelPosition", {Value(3)});
  Value serijski = b.labeled(gb, "eSerijskiBrojTelefona", 16, 80, 120, 21, "- Serijski broj");
  send(serijski, "_LabelPosition", {Value(3)});
  b.radio(gb, "rbZicniTelefon", 296, 16, "Zicni telefon");
  b.radio(gb, "rbBezicniTelefon", 296, 32, "Bezicni telefon");
  b.radio(gb, "rbMobilniTelefon", 296, 48, "Mobilni telefon");
  b.radio(gb, "rbTelefaksUredjaj", 296, 64, "Telefaks uredjaj");
  b.on(b.radio(gb, "rbOstalo", 296, 80, "Ostalo:"), "_OnEnter", "rbOstaloOnEnter");
  // The "other" texts take their fields' 50 characters also before a blank form gives them
  // 50 blanks (at start-up they are empty).
  Value ostaloTelefon = b.make(&ui::TEdit, gb, "eOstaloTelefon", 352, 80, 129, 21);
  send(ostaloTelefon, "_Picture", {anyText(50)});
  b.on(ostaloTelefon, "_OnEnter", "eOstaloTelefonOnEnter");
  b.on(ostaloTelefon, "_OnExit", "eOstaloTelefonOnExit");
  b.check(gb, "cbPunjac", 576, 16, "Punjac");
  b.check(gb, "cbBaterija", 576, 32, "Baterija");
  b.check(gb, "cbLinijskiKabl", 576, 48, "Linijski kabl");
  b.check(gb, "cbKartica", 576, 64, "Kartica");
  b.on(b.check(gb, "cbOstalo", 576, 80, "Ostalo:"), "_OnChange", "cbOstaloOnChange");
  Value ostaloPribor = b.make(&ui::TEdit, gb, "eOstaloPribor", 632, 80, 129, 21);
  send(ostaloPribor, "_Picture", {anyText(50)});
  b.on(ostaloPribor, "_OnEnter", "eOstaloPriborOnEnter");
  b.on(ostaloPribor, "_OnExit", "eOstaloPriborOnExit");
  // The field holds 80 characters; the edit takes 79.
  Value napomena = b.labeled(gb, "eNapomenaTelefon", 176, 112, 489, 21, "Napomena:");
  send(napomena, "_Picture", {anyText(79)});
  send(napomena, "_LabelPosition", {Value(2)});
  b.on(b.dropButton(gb, "sbMenuProizvodjacaTelefona", 161, 24, "Dodavanje / Brisanje proizvodjaca"),
       "_OnClick", "sbMenuProizvodjacaTelefonaOnClick");
  // Thin uncaptioned group boxes divide the model fields, the device kinds and the accessories.
  b.make(&ui::TGroupBox, gb, "GroupBox1", 240, 8, 9, 97);
  b.make(&ui::TGroupBox, gb, "GroupBox2", 528, 8, 9, 97);
}

void makeServiceGroup(Builder& b) {
  const Value gb = b.group("gbServis", 8, 252, 777, 129, "Servis");
  Value label = b.make(&ui::TLabel, gb, "lOpisKvara", 16, 16);
  send(label, "_Caption", {Value("Opis kvara:")});
  Value opis = b.make(&ui::TMemo, gb, "mOpisKvara", 16, 32, 417, 89);
  b.on(opis, "_OnEnter", "mOpisKvaraOnEnter");
  b.on(opis, "_OnExit", "mOpisKvaraOnExit");
  Value napomena = b.labeled(gb, "eNapomenaServis", 448, 32, 313, 21, "Napomena:");
  send(napomena, "_Picture", {anyText(79)});
  send(b.radio(gb, "rbNaCekanju", 448, 104, "na Cekanju"), "_Checked", {Value(true)});
  b.radio(gb, "rbUObradi", 536, 104, "u Obradi");
  b.radio(gb, "rbZavrsen", 704, 104, "Zavrsen");
  for (const auto& [name, l, label] : {std::tuple{"eOkvCena", 448, "Okvirna cena:"},
                                       std::tuple{"eKonCena", 656, "Konacna cena:"}}) {
    Value cena = b.labeled(gb, name, l, 72, 105, 21, label);
    send(cena, "_Picture", {Value("9999999.99")});
    send(cena, "_Caption", {Value(0)});
    send(cena, "_Alignment", {Value(1)});
  }
}

void makeOverviewGroup(Builder& b) {
  const Value gb = b.group("gbPregled", 8, 384, 777, 109, "Pregled");
  Value grid = b.make(&ui::TStringGrid, gb, "sgPregled", 16, 16, 745, 85);
  send(
      grid, "_Header",
      {texts({"Broj naloga", "Datum", "Korisnik", "Telefon", "Model", "Serijski broj", "Status"})});
  send(grid, "_TabStop", {Value(false)});
  send(grid, "_RowSelect", {Value(true)});
  send(grid, "_ScrollBars", {Value(2)});
  send(grid, "_Sizes", {numbers({70, 70, 160, 110, 120, 120, 70})});
  b.on(grid, "_OnClick", "sgPregledOnClick");
  b.on(grid, "_OnDrawCell", "sgPregledOnDrawCell");
  b.on(grid, "_OnHeaderClick", "sgPregledOnHeaderClick");
}

// The status panel along the bottom with the banner at its right.
void makeStatusPanel(Builder& b, const Value& form) {
  Value panel = b.make(&ui::TPanel, form, "Panel1", 0, 515, 794, 56);
  send(panel, "_Caption", {Value(kMakerAddress)});
  send(panel, "_Align", {Value(2)});
  const Value font = send(panel, "Font");
  send(font, "_Name", {Value("Arial")});
  send(font, "_Size", {Value(14)});
  send(font, "_Bold", {Value(true)});
  send(font, "_Color", {Value(16777215)});
  send(send(panel, "Brush"), "_Color", {Value(16568383)});
  send(panel, "_Alignment", {Value(0)});
  send(panel, "_BevelOuter", {Value(0)});
  send(panel, "_BevelInner", {Value(0)});
  Value image = b.make(&ui::TImage, panel, "Image1", 416, 0, 378, 56);
  send(image, "_Align", {Value(4)});
  send(send(send(image, "Picture"), "Bitmap"), "_Name", {Value("KVBANNER")});
}

Value fnCreate(const Value& self, Args a) {
  return TFKalvedo_Create(self, a);
}

const FormMethodEntry kMethods[] = {{"Create", &fnCreate}};

}  // namespace

Value formEvent(const Value& form, const char* method) {
  // The block is held by the control, which the form owns: destroying the form releases it.
  const Value f = form.deref();
  const std::string m = method;
  return makeBlock([f, m](Args a) { return send(f, m, a); });
}

Value TFKalvedo_Create(const Value& self, Args args) {
  KV_METHOD("TFKALVEDO", "CREATE");
  ui::superSend(self, "Create", {arg(args, 0)});
  KV_LINE();
  const Value form = self.deref();
  send(form, "_Caption", {Value("Kalvedo")});
  send(send(form, "BorderIcons"), "_Maximize", {Value(false)});
  send(form, "SetPos", {Value(246), Value(114)});
  send(form, "_ClientWidth", {Value(794)});
  send(form, "_ClientHeight", {Value(571)});
  send(send(form, "Icon"), "_Name", {Value("DAVAVODE")});
  send(form, "_MinWidth", {Value(810)});
  send(form, "_MaxWidth", {Value(810)});
  send(form, "_MinHeight", {Value(610)});
  send(form, "_MaxHeight", {Value(610)});
  send(form, "_Position", {Value(4)});
  send(form, "_OnCreate", {formEvent(form, "fKalvedoOnCreate")});

  Builder b(form);
  KV_LINE();
  makeOrderGroup(b, form);
  makeCustomerGroup(b, form);
  makeDeviceGroup(b);
  makeServiceGroup(b);
  makeOverviewGroup(b);
  KV_LINE();
  struct Command {
    const char* name;
    int top;
    const char* caption;
    const char* method;
  };
  for (const Command& c : {Command{"bSnimiNalog", 8, "Snimi", "bSnimiNalogOnClick"},
                           Command{"bStampajNalog", 40, "Stampaj", "bStampajNalogOnClick"},
                           Command{"bBrisiNalog", 80, "Brisi", "bBrisiNalogOnClick"}}) {
    Value button = b.make(&ui::TButton, form, c.name, 712, c.top);
    send(button, "_Caption", {Value(c.caption)});
    b.on(button, "_OnClick", c.method);
  }
  KV_LINE();
  makeManufacturerPopup(form, b.make(&ui::TPopupMenu, form, "PopupMenuProizvodjaci"));
  makeCustomerPopup(form, b.make(&ui::TPopupMenu, form, "PopupMenuKorisnika"));
  makeStatusPanel(b, form);
  b.make(&ui::TMainMenu, form, "MainMenu1");
  Value timer = b.make(&ui::TTimer, form, "Timer1");
  send(timer, "_Interval", {Value(10000)});
  b.on(timer, "_OnTimer", "Timer1OnTimer");
  makeOrderPopup(form, b.make(&ui::TPopupMenu, form, "PopupMenuNalog"));
  send(b.make(&ui::TColorDialog, form, "ColorDialog1"), "_Caption", {Value("ColorDialog1")});
  // The refresh symbol sits on the overview's top edge, right of its caption.
  Value osvezi = b.make(&ui::TButton, form, "bOsveziPregled", 56, 381, 20, 19);
  send(osvezi, "_Caption", {Value("q")});
  send(send(osvezi, "Font"), "_Name", {Value("Webdings")});
  send(send(osvezi, "Font"), "_Size", {Value(12)});
  send(osvezi, "_Hint", {Value("Osvezi pregled")});
  // A mouse button beside the overview, like the grids and the speed buttons: Tab keeps to
  // the order's fields.
  send(osvezi, "_TabStop", {Value(false)});
  b.on(osvezi, "_OnClick", "PopuniPregled");

  KV_LINE();
  for (const auto& [button, menu] :
       {std::pair{"sbMenuNalog", "PopupMenuNalog"},
        std::pair{"sbMenuKorisnika", "PopupMenuKorisnika"},
        std::pair{"sbMenuProizvodjacaTelefona", "PopupMenuProizvodjaci"}}) {
    send(component(form, button), "_PopupMenu", {component(form, menu)});
  }
  send(form, "_Menu", {component(form, "MainMenu1")});
  return form;
}

std::span<const FormMethodEntry> layoutMethods() {
  return kMethods;
}

}  // namespace kv::app
