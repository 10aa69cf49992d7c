// The main window's components against the window's layout: one table, written from the
// layout by hand, of every component's class, parent, place, texts, properties, place in the
// Tab walk and the form method each of its events calls.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "runtime/lang/codeblock.h"
#include "support/main_window.h"
#include "ui/core/component.h"

using namespace kv;
using kvtest::part;
using kvtest::render;

namespace {

using Pairs = std::vector<std::pair<const char*, const char*>>;

struct Component {
  const char* name;
  const char* cls;
  const char* parent;  // "" for the form
  int l, t, w, h;      // l < 0: not a control; w 0: a label sized to its text
  const char* text;    // Caption, or the label of a labelled edit; null: none to check
  const char* hint;    // null: none
  int tab;             // position in the Tab walk from eBrojNaloga (1..29); 0: not a stop
  Pairs props;         // further properties (a path through sub-objects) and their values
  Pairs events;        // event property and the method its block calls
};

const char* const kX50 = "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX";
const char* const kX79 =
    "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX";

const Pairs kGlyph = {{"TabStop", ".F."},
                      {"Glyph.Bitmap.Name", "32738"},
                      {"Glyph.Bitmap.MaskColor", "32896"},
                      {"Glyph.JPeg.MaskColor", "32896"},
                      {"Glyph.Gif.MaskColor", "32896"}};
Pairs glyphAnd(const char* popup) {
  Pairs p = kGlyph;
  p.emplace_back("PopupMenu.CLASSNAME", "TPOPUPMENU");
  p.emplace_back("PopupMenu.Handle", popup);  // compared with the named menu's handle
  return p;
}

const std::vector<Component>& layout() {
  static const std::vector<Component> rows = {
      // Order.
      {"gbNalog", "TGROUPBOX", "", 8, 0, 201, 105, "Nalog", nullptr, 0, {}, {}},
      {"eBrojNaloga",
       "TLABELEDEDIT",
       "gbNalog",
       8,
       32,
       73,
       21,
       "Broj:",
       nullptr,
       1,
       {{"Picture", "999999"}, {"Caption", "1"}, {"LabelPosition", "0"}},
       {{"OnKeyDown", "eBrojNalogaOnKeyDown"}}},
      {"dtpDatumNaloga",
       "TDATETIMEPICKER",
       "gbNalog",
       104,
       32,
       88,
       21,
       nullptr,
       nullptr,
       0,
       {{"TabStop", ".F."}, {"Time", "14:12:59"}},
       {}},
      {"ePretragaNaloga",
       "TLABELEDEDIT",
       "gbNalog",
       8,
       72,
       185,
       21,
       "Pretraga:",
       "Pretraga Naloga po Korisniku, Kontaktu, Modelu i Ser.Broju",
       0,
       {{"TabStop", ".F."}, {"Picture", kX50}},
       {{"OnKeyDown", "ePretragaNalogaOnKeyDown"}}},
      {"Label1", "TLABEL", "gbNalog", 104, 16, 0, 13, "Datum:", nullptr, 0, {}, {}},
      {"sbMenuNalog",
       "TSPEEDBUTTON",
       "gbNalog",
       81,
       32,
       18,
       18,
       nullptr,
       "Novi Nalog",
       0,
       glyphAnd("PopupMenuNalog"),
       {{"OnClick", "sbMenuNalogOnClick"}}},
      // Customer.
      {"gbKorisnik", "TGROUPBOX", "", 216, 0, 481, 105, "Korisnik", nullptr, 0, {}, {}},
      {"eNazivKorisnika",
       "TLABELEDEDIT",
       "gbKorisnik",
       8,
       32,
       145,
       21,
       "Naziv:",
       nullptr,
       2,
       {{"Picture", kX50}},
       {{"OnEnter", "eNazivKorisnikaOnEnter"}, {"OnKeyDown", "eNazivKorisnikaOnKeyDown"}}},
      {"eKontaktKorisnika",
       "TLABELEDEDIT",
       "gbKorisnik",
       8,
       72,
       145,
       21,
       "Kontakt:",
       nullptr,
       3,
       {{"Picture", kX50}},
       {{"OnKeyDown", "eKontaktKorisnikaOnKeyDown"}}},
      {"sbMenuKorisnika",
       "TSPEEDBUTTON",
       "gbKorisnik",
       153,
       32,
       18,
       18,
       nullptr,
       "Dodavanje/ Brisanje korisnika",
       0,
       glyphAnd("PopupMenuKorisnika"),
       {{"OnClick", "sbMenuKorisnikaOnClick"}}},
      {"sgKorisnici",
       "TSTRINGGRID",
       "gbKorisnik",
       176,
       12,
       297,
       85,
       nullptr,
       nullptr,
       0,
       {{"Header", "{Korisnik, Kontakt}"},
        {"TabStop", ".F."},
        {"RowSelect", ".T."},
        {"ScrollBars", "2"},
        {"Sizes", "{160, 100}"}},
       {{"OnClick", "sgKorisniciOnClick"}}},
      // Device.
      {"gbTelefon", "TGROUPBOX", "", 8, 108, 777, 141, "Telefon", nullptr, 0, {}, {}},
      {"csProizvodjaciTelefona",
       "TCOMBOBOX",
       "gbTelefon",
       16,
       24,
       145,
       21,
       nullptr,
       nullptr,
       4,
       {},
       {}},
      {"eModelTelefona",
       "TLABELEDEDIT",
       "gbTelefon",
       16,
       56,
       120,
       21,
       "- Model",
       nullptr,
       5,
       {{"LabelPosition", "3"}},
       {}},
      {"eSerijskiBrojTelefona",
       "TLABELEDEDIT",
       "gbTelefon",
       16,
       80,
       120,
       21,
       "- Serijski broj",
       nullptr,
       6,
       {{"LabelPosition", "3"}},
       {}},
      {"rbZicniTelefon",
       "TRADIOBUTTON",
       "gbTelefon",
       296,
       16,
       113,
       17,
       "Zicni telefon",
       nullptr,
       7,
       {{"Auto", ".T."}, {"Checked", ".F."}},
       {}},
      {"rbBezicniTelefon",
       "TRADIOBUTTON",
       "gbTelefon",
       296,
       32,
       113,
       17,
       "Bezicni telefon",
       nullptr,
       8,
       {{"Auto", ".T."}},
       {}},
      {"rbMobilniTelefon",
       "TRADIOBUTTON",
       "gbTelefon",
       296,
       48,
       113,
       17,
       "Mobilni telefon",
       nullptr,
       9,
       {{"Auto", ".T."}},
       {}},
      {"rbTelefaksUredjaj",
       "TRADIOBUTTON",
       "gbTelefon",
       296,
       64,
       113,
       17,
       "Telefaks uredjaj",
       nullptr,
       10,
       {{"Auto", ".T."}},
       {}},
      {"rbOstalo",
       "TRADIOBUTTON",
       "gbTelefon",
       296,
       80,
       113,
       17,
       "Ostalo:",
       nullptr,
       11,
       {{"Auto", ".T."}},
       {{"OnEnter", "rbOstaloOnEnter"}}},
      {"eOstaloTelefon",
       "TEDIT",
       "gbTelefon",
       352,
       80,
       129,
       21,
       nullptr,
       nullptr,
       12,
       {{"Picture", kX50}},
       {{"OnEnter", "eOstaloTelefonOnEnter"}, {"OnExit", "eOstaloTelefonOnExit"}}},
      {"cbPunjac",
       "TCHECKBOX",
       "gbTelefon",
       576,
       16,
       97,
       17,
       "Punjac",
       nullptr,
       13,
       {{"Checked", ".F."}},
       {}},
      {"cbBaterija", "TCHECKBOX", "gbTelefon", 576, 32, 97, 17, "Baterija", nullptr, 14, {}, {}},
      {"cbLinijskiKabl",
       "TCHECKBOX",
       "gbTelefon",
       576,
       48,
       97,
       17,
       "Linijski kabl",
       nullptr,
       15,
       {},
       {}},
      {"cbKartica", "TCHECKBOX", "gbTelefon", 576, 64, 97, 17, "Kartica", nullptr, 16, {}, {}},
      {"cbOstalo",
       "TCHECKBOX",
       "gbTelefon",
       576,
       80,
       97,
       17,
       "Ostalo:",
       nullptr,
       17,
       {},
       {{"OnChange", "cbOstaloOnChange"}}},
      {"eOstaloPribor",
       "TEDIT",
       "gbTelefon",
       632,
       80,
       129,
       21,
       nullptr,
       nullptr,
       18,
       {{"Picture", kX50}},
       {{"OnEnter", "eOstaloPriborOnEnter"}, {"OnExit", "eOstaloPriborOnExit"}}},
      {"eNapomenaTelefon",
       "TLABELEDEDIT",
       "gbTelefon",
       176,
       112,
       489,
       21,
       "Napomena:",
       nullptr,
       19,
       {{"Picture", kX79}, {"LabelPosition", "2"}},
       {}},
      {"sbMenuProizvodjacaTelefona",
       "TSPEEDBUTTON",
       "gbTelefon",
       161,
       24,
       18,
       18,
       nullptr,
       "Dodavanje / Brisanje proizvodjaca",
       0,
       glyphAnd("PopupMenuProizvodjaci"),
       {{"OnClick", "sbMenuProizvodjacaTelefonaOnClick"}}},
      {"GroupBox1", "TGROUPBOX", "gbTelefon", 240, 8, 9, 97, "", nullptr, 0, {}, {}},
      {"GroupBox2", "TGROUPBOX", "gbTelefon", 528, 8, 9, 97, "", nullptr, 0, {}, {}},
      // Service.
      {"gbServis", "TGROUPBOX", "", 8, 252, 777, 129, "Servis", nullptr, 0, {}, {}},
      {"lOpisKvara", "TLABEL", "gbServis", 16, 16, 0, 13, "Opis kvara:", nullptr, 0, {}, {}},
      {"mOpisKvara",
       "TMEMO",
       "gbServis",
       16,
       32,
       417,
       89,
       nullptr,
       nullptr,
       20,
       {},
       {{"OnEnter", "mOpisKvaraOnEnter"}, {"OnExit", "mOpisKvaraOnExit"}}},
      {"eNapomenaServis",
       "TLABELEDEDIT",
       "gbServis",
       448,
       32,
       313,
       21,
       "Napomena:",
       nullptr,
       21,
       {{"Picture", kX79}},
       {}},
      {"rbNaCekanju",
       "TRADIOBUTTON",
       "gbServis",
       448,
       104,
       113,
       17,
       "na Cekanju",
       nullptr,
       24,
       {{"Auto", ".T."}, {"Checked", ".T."}},
       {}},
      {"rbUObradi",
       "TRADIOBUTTON",
       "gbServis",
       536,
       104,
       113,
       17,
       "u Obradi",
       nullptr,
       25,
       {{"Auto", ".T."}, {"Checked", ".F."}},
       {}},
      {"rbZavrsen",
       "TRADIOBUTTON",
       "gbServis",
       704,
       104,
       113,
       17,
       "Zavrsen",
       nullptr,
       26,
       {{"Auto", ".T."}, {"Checked", ".F."}},
       {}},
      {"eOkvCena",
       "TLABELEDEDIT",
       "gbServis",
       448,
       72,
       105,
       21,
       "Okvirna cena:",
       nullptr,
       22,
       {{"Picture", "9999999.99"}, {"Caption", "0.00"}, {"Alignment", "1"}},
       {}},
      {"eKonCena",
       "TLABELEDEDIT",
       "gbServis",
       656,
       72,
       105,
       21,
       "Konacna cena:",
       nullptr,
       23,
       {{"Picture", "9999999.99"}, {"Caption", "0.00"}, {"Alignment", "1"}},
       {}},
      // Overview.
      {"gbPregled", "TGROUPBOX", "", 8, 384, 777, 109, "Pregled", nullptr, 0, {}, {}},
      {"sgPregled",
       "TSTRINGGRID",
       "gbPregled",
       16,
       16,
       745,
       85,
       nullptr,
       nullptr,
       0,
       {{"Header", "{Broj naloga, Datum, Korisnik, Telefon, Model, Serijski broj, Status}"},
        {"TabStop", ".F."},
        {"RowSelect", ".T."},
        {"ScrollBars", "2"},
        {"Sizes", "{70, 70, 160, 110, 120, 120, 70}"}},
       {{"OnClick", "sgPregledOnClick"},
        {"OnDrawCell", "sgPregledOnDrawCell"},
        {"OnHeaderClick", "sgPregledOnHeaderClick"}}},
      // On the form.
      {"bSnimiNalog",
       "TBUTTON",
       "",
       712,
       8,
       75,
       25,
       "Snimi",
       nullptr,
       27,
       {},
       {{"OnClick", "bSnimiNalogOnClick"}}},
      {"bStampajNalog",
       "TBUTTON",
       "",
       712,
       40,
       75,
       25,
       "Stampaj",
       nullptr,
       28,
       {},
       {{"OnClick", "bStampajNalogOnClick"}}},
      {"bBrisiNalog",
       "TBUTTON",
       "",
       712,
       80,
       75,
       25,
       "Brisi",
       nullptr,
       29,
       {},
       {{"OnClick", "bBrisiNalogOnClick"}}},
      {"PopupMenuProizvodjaci", "TPOPUPMENU", "", -1, 0, 0, 0, nullptr, nullptr, 0, {}, {}},
      {"PopupMenuKorisnika", "TPOPUPMENU", "", -1, 0, 0, 0, nullptr, nullptr, 0, {}, {}},
      {"Panel1",
       "TPANEL",
       "",
       0,
       515,
       794,
       56,
       " www.kalvedo.example",
       nullptr,
       0,
       {{"Align", "2"},
        {"Font.Name", "Arial"},
        {"Font.Size", "14"},
        {"Font.Bold", ".T."},
        {"Font.Color", "16777215"},
        {"Brush.Color", "16568383"},
        {"Alignment", "0"},
        {"BevelOuter", "0"},
        {"BevelInner", "0"}},
       {}},
      {"Image1",
       "TIMAGE",
       "Panel1",
       416,
       0,
       378,
       56,
       nullptr,
       nullptr,
       0,
       {{"Align", "4"}, {"Picture.Bitmap.Name", "KVBANNER"}},
       {}},
      {"MainMenu1", "TMAINMENU", "", -1, 0, 0, 0, nullptr, nullptr, 0, {}, {}},
      {"Timer1",
       "TTIMER",
       "",
       -1,
       0,
       0,
       0,
       nullptr,
       nullptr,
       0,
       {{"Interval", "10000"}},
       {{"OnTimer", "Timer1OnTimer"}}},
      {"PopupMenuNalog", "TPOPUPMENU", "", -1, 0, 0, 0, nullptr, nullptr, 0, {}, {}},
      {"ColorDialog1", "TCOLORDIALOG", "", -1, 0, 0, 0, "ColorDialog1", nullptr, 0, {}, {}},
      {"bOsveziPregled",
       "TBUTTON",
       "",
       56,
       381,
       20,
       19,
       "q",
       "Osvezi pregled",
       0,
       {{"Font.Name", "Webdings"}, {"Font.Size", "12"}, {"TabStop", ".F."}},
       {{"OnClick", "PopuniPregled"}}},
  };
  return rows;
}

// The arguments an event passes: the sender first, then the event's own.
std::vector<Value> eventArgs(const Value& sender, std::string_view event) {
  if (event == "OnKeyDown") return {sender, Value::reference(newCell(Value(13)))};
  if (event == "OnHeaderClick") return {sender, Value(2)};
  if (event == "OnDrawCell") {
    return {sender,
            Value(1),
            Value(1),
            Value::reference(newCell(Value(0))),
            Value::reference(newCell(Value(16777215))),
            Value()};
  }
  return {sender};
}

struct Call {
  std::string method;
  std::vector<Value> args;
};

using MainWindowLayout = kvtest::MainWindowTest;

}  // namespace

TEST_F(MainWindowLayout, EveryComponentIsMadeAsTheLayoutGivesIt) {
  withMainForm([](const Value& form, ui::Form& main) {
    // Every instance variable holds its component, and the table names all 54.
    ASSERT_EQ(layout().size(), 54u);
    std::vector<Call> calls;
    app::watchFormMethods([&](std::string_view method, Args a) {
      calls.push_back({std::string(method), std::vector<Value>(a.begin(), a.end())});
      return true;  // the method does not run
    });
    std::vector<ui::WinControl*> stops;
    for (ui::WinControl* c : ui::tabSequence(&main)) {
      if (c->canTakeFocus()) stops.push_back(c);
    }
    for (const Component& row : layout()) {
      SCOPED_TRACE(row.name);
      const Value c = part(form, row.name);
      ASSERT_NE(ui::libraryOf(c), nullptr);
      EXPECT_EQ(CLASSNAME(c), row.cls);
      auto* comp = ui::libraryAs<ui::Component>(c);
      const Value parent = *row.parent ? part(form, row.parent) : form;
      EXPECT_EQ(comp->owner(), ui::libraryOf(parent));
      if (row.l >= 0) {
        // The banner keeps to the right of the panel, wherever its right edge is.
        const bool right = send(c, "Align").asInt() == 4;
        EXPECT_EQ(send(c, "Left").asInt(), right ? send(parent, "Width").asInt() - row.w : row.l);
        // The status panel keeps to the bottom of the client area, wherever that is.
        const bool bottom = send(c, "Align").asInt() == 2;
        EXPECT_EQ(send(c, "Top").asInt(),
                  bottom ? send(form, "ClientHeight").asInt() - row.h : row.t);
        if (bottom) {
          EXPECT_EQ(send(c, "Width").asInt(), send(form, "ClientWidth").asInt());
        } else if (row.w > 0) {
          EXPECT_EQ(send(c, "Width").asInt(), row.w);
        } else {
          EXPECT_GT(send(c, "Width").asInt(), 0);
        }
        EXPECT_EQ(send(c, "Height").asInt(), row.h);
      }
      if (row.text) {
        const bool labeled = std::string_view(row.cls) == "TLABELEDEDIT";
        EXPECT_EQ(render(send(c, labeled ? "LabelCaption" : "Caption")), row.text);
      }
      if (row.hint) {
        EXPECT_EQ(render(send(c, "Hint")), row.hint);
      }
      for (const auto& [path, want] : row.props) {
        if (std::string_view(path) == "PopupMenu.Handle") {
          EXPECT_EQ(ui::libraryOf(send(c, "PopupMenu")), ui::libraryOf(part(form, want)));
        } else if (std::string_view(path) == "PopupMenu.CLASSNAME") {
          EXPECT_EQ(CLASSNAME(send(c, "PopupMenu")), want);
        } else {
          EXPECT_EQ(render(kvtest::property(c, path)), want) << path;
        }
      }
      // The place in the Tab walk: only the 29 fields of the order are stops.
      auto* win = ui::libraryAs<ui::WinControl>(c);
      const auto at = win ? std::find(stops.begin(), stops.end(), win) : stops.end();
      const int position = at == stops.end() ? 0 : static_cast<int>(at - stops.begin()) + 1;
      EXPECT_EQ(position, row.tab);
      // Each event's block calls its method of the form with the event's arguments.
      for (const auto& [event, method] : row.events) {
        const Value block = send(c, event);
        ASSERT_TRUE(block.isBlock()) << event;
        std::vector<Value> args = eventArgs(c, event);
        calls.clear();
        EVAL(block, Args(args));
        ASSERT_EQ(calls.size(), 1u) << event;
        EXPECT_EQ(calls[0].method, method) << event;
        ASSERT_EQ(calls[0].args.size(), args.size()) << event;
        EXPECT_EQ(ui::libraryOf(calls[0].args[0]), ui::libraryOf(c)) << event;
        // By-reference arguments reach the method as references.
        for (std::size_t i = 1; i < args.size(); ++i) {
          EXPECT_EQ(calls[0].args[i].isRef(), args[i].isRef()) << event << " " << i;
        }
      }
      if (row.events.empty() && row.l >= 0) {
        EXPECT_TRUE(send(c, "OnClick").isNil());
      }
    }
    EXPECT_EQ(stops.size(), 29u);
    app::watchFormMethods({});
  });
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowLayout, TheWindowKeepsItsSizeAndHasNoMaximiseBox) {
  withMainForm([](const Value& form, ui::Form& main) {
    QWidget* window = main.windowIfMade();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(render(send(form, "Caption")), app::programTitle());
    EXPECT_EQ(render(kvtest::property(form, "Icon.Name")), "DAVAVODE");
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    // The whole window is 810 by 610; the menu bar takes its height from the client area
    // below it, which still holds every group box and the status panel under them.
    EXPECT_EQ(send(form, "Width").asInt(), 810);
    EXPECT_EQ(send(form, "Height").asInt(), 610);
    QWidget* client = main.clientWidget();
    const QSize area(send(form, "ClientWidth").asInt(), send(form, "ClientHeight").asInt());
    EXPECT_EQ(client->size(), area);
    EXPECT_GE(area.width(), 794);
    EXPECT_GE(send(part(form, "Panel1"), "Top").asInt(), 384 + 109);  // below the overview
    const QSize before = window->size();
    // Neither the user, nor maximising, nor the program can change the size.
    window->resize(before.width() + 100, before.height() + 100);
    QApplication::processEvents();
    EXPECT_EQ(window->size(), before) << "resize";
    window->showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(window->size(), before) << "maximise";
    window->showNormal();
    send(form, "SetSize", {Value(1000), Value(700)});
    QApplication::processEvents();
    EXPECT_EQ(window->size(), before) << "program";
    EXPECT_EQ(send(form, "Width").asInt(), 810);
    EXPECT_EQ(send(form, "Height").asInt(), 610);
    EXPECT_EQ(client->size(), area);
  });
}
