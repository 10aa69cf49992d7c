// The main window's keyboard and menus as a person meets them: Tab through the order's fields,
// the three pop-up speed buttons on a left and on a right click, the pop-up menus' items, and
// the main menu with the item numbers its check marks use.
#define QTEST_QPA_MOUSE_HANDLING
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <string>
#include <vector>

#include "app/fkalvedo_menus.h"
#include "runtime/lang/memvars.h"
#include "support/main_window.h"
#include "ui/controls/speedbutton.h"
#include "ui/menus/menu.h"

using namespace kv;
using kvtest::part;
using kvtest::partAs;

namespace {

using MainWindowMenus = kvtest::MainWindowTest;

// The captions of a Qt menu's actions, separators as "-".
std::vector<std::string> captions(const QMenu* menu) {
  std::vector<std::string> out;
  for (const QAction* a : menu->actions()) {
    out.push_back(a->isSeparator() ? "-" : a->text().toStdString());
  }
  return out;
}

// The item of `menu` with the caption `caption`.
const ui::MenuEntry* entry(const Value& menu, const std::string& caption) {
  for (const ui::MenuEntry& e : ui::libraryAs<ui::Menu>(menu)->items()) {
    if (e.caption == caption) return &e;
  }
  return nullptr;
}

// The control with the keyboard focus among the tab stops, by its name ("" for none).
std::string focused(const Value& form) {
  for (const char* name : app::tabOrderNames()) {
    if (partAs<ui::WinControl>(form, name)->hasFocus()) return name;
  }
  return "";
}

struct Opened {
  bool shown = false;
  QPoint at;
  std::vector<std::string> items;
};

// Answers the pop-up menu the next click opens: notes where it opened and its items, then
// presses Escape on it.
void answerPopup(Opened& opened) {
  QTimer::singleShot(50, [&opened] {
    auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!open) return answerPopup(opened);
    opened = {true, open->pos(), captions(open)};
    open->close();
  });
}

}  // namespace

TEST_F(MainWindowMenus, TabWalksTheOrdersFieldsInTheirSequenceAndWraps) {
  withMainForm([](const Value& form, ui::Form&) {
    // The walk itself: the fields' own focus rules (which move the focus on from some fields)
    // are the editing's and are left out here.
    for (const char* name : app::tabOrderNames()) {
      const Value c = part(form, name);
      for (const char* event : {"_OnEnter", "_OnExit", "_OnKeyDown"}) send(c, event, {Value()});
    }
    send(part(form, "eBrojNaloga"), "SetFocus");
    QApplication::processEvents();
    ASSERT_EQ(focused(form), "eBrojNaloga");
    const auto names = app::tabOrderNames();
    std::vector<std::string> walked, want;
    for (std::size_t i = 1; i <= names.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      walked.push_back(focused(form));
      want.emplace_back(names[i % names.size()]);
    }
    EXPECT_EQ(walked, want);
    // Backwards from the first field wraps to the last.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(form), "bBrisiNalog");
  });
}

TEST_F(MainWindowMenus, EachSpeedButtonOpensItsMenuAtItsCornerOnALeftAndARightClick) {
  struct Case {
    const char* button;
    const char* group;
    std::vector<std::string> items;
  } cases[] = {
      {"sbMenuNalog", "gbNalog", {"Novi Nalog", "Novi Broj Naloga", "-", "Dozvoli  izmenu naloga"}},
      {"sbMenuKorisnika",
       "gbKorisnik",
       {"Snimi podatke o korisniku", "Brisi odabranog korisnika", "-", "Brisi sve korisnike", "-",
        "Odustani"}},
      {"sbMenuProizvodjacaTelefona",
       "gbTelefon",
       {"Dodaj novog proizvodjaca", "Brisi odabranog proizvodjaca", "-", "Brisi sve proizvodjace",
        "-", "Odustani"}},
  };
  withMainForm([&](const Value& form, ui::Form& main) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.button);
      QWidget* button = partAs<ui::SpeedButton>(form, c.button)->windowIfMade();
      ASSERT_NE(button, nullptr);
      // The corner: the group box's place plus the button's, in the form's client area.
      const QPoint corner = main.clientWidget()->mapToGlobal(QPoint(
          send(part(form, c.group), "Left").asInt() + send(part(form, c.button), "Left").asInt(),
          send(part(form, c.group), "Top").asInt() + send(part(form, c.button), "Top").asInt()));
      EXPECT_EQ(button->mapToGlobal(QPoint(0, 0)), corner);
      Opened left, right;
      answerPopup(left);
      QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(9, 9));
      QTest::qWait(150);
      answerPopup(right);
      // On the corner pixel (QTest takes the point 0, 0 for the middle of the button).
      QTest::mouseClick(button, Qt::RightButton, Qt::NoModifier, QPoint(1, 1));
      QTest::qWait(150);
      ASSERT_TRUE(left.shown);
      ASSERT_TRUE(right.shown);
      EXPECT_EQ(left.items, c.items);
      EXPECT_EQ(right.items, c.items);
      EXPECT_EQ(left.at, corner);
      // A right click opens the menu at the mouse, here the corner's pixel.
      EXPECT_EQ(right.at, button->mapToGlobal(QPoint(1, 1)));
      EXPECT_LE((right.at - left.at).manhattanLength(), 2);
      EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
  });
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowMenus, EveryMenuItemCallsItsMethodAndOdustaniNothing) {
  struct Case {
    const char* menu;
    const char* caption;
    const char* method;    // null: no method
    const char* argument;  // the text a language item passes; null: the menu
  } cases[] = {
      {"PopupMenuProizvodjaci", "Dodaj novog proizvodjaca", "DodajProizvodjaca", nullptr},
      {"PopupMenuProizvodjaci", "Brisi odabranog proizvodjaca", "BrisiProizvodjaca", nullptr},
      {"PopupMenuProizvodjaci", "Brisi sve proizvodjace", "BrisiSveProizvodjace", nullptr},
      {"PopupMenuProizvodjaci", "Odustani", nullptr, nullptr},
      {"PopupMenuKorisnika", "Snimi podatke o korisniku", "SnimiKorisnika", nullptr},
      {"PopupMenuKorisnika", "Brisi odabranog korisnika", "BrisiKorisnika", nullptr},
      {"PopupMenuKorisnika", "Brisi sve korisnike", "BrisiSveKorisnike", nullptr},
      {"PopupMenuKorisnika", "Odustani", nullptr, nullptr},
      {"PopupMenuNalog", "Novi Nalog", "NoviNalog", nullptr},
      {"PopupMenuNalog", "Novi Broj Naloga", "NoviBrojNAloga", nullptr},
      {"PopupMenuNalog", "Dozvoli  izmenu naloga", "DozvoliIzmenuNaloga", nullptr},
      {"MainMenu1", "Novi nalog", "NoviNalog", nullptr},
      {"MainMenu1", "Novi broj naloga", "NoviBrojNAloga", nullptr},
      {"MainMenu1", "Snimi nalog", "bSnimiNalogOnClick", nullptr},
      {"MainMenu1", "Stampaj nalog", "bStampajNalogOnClick", nullptr},
      {"MainMenu1", "Brisi nalog", "bBrisiNalogOnClick", nullptr},
      {"MainMenu1", "Dozvoli izmenu naloga", "DozvoliIzmenuNaloga", nullptr},
      {"MainMenu1", "Snimi podatke o korisniku", "SnimiKorisnika", nullptr},
      {"MainMenu1", "Brisi odabranog korisnika", "BrisiKorisnika", nullptr},
      {"MainMenu1", "Brisi sve korisnike", "BrisiSveKorisnike", nullptr},
      {"MainMenu1", "Dodaj novog proizvodjaca", "DodajProizvodjaca", nullptr},
      {"MainMenu1", "Brisi odabranog proizvodjaca", "BrisiProizvodjaca", nullptr},
      {"MainMenu1", "Brisi sve proizvodjace", "BrisiSveProizvodjace", nullptr},
      {"MainMenu1", "Izbor stampaca", "IzborStampaca", nullptr},
      {"MainMenu1", "Broj primeraka stampe", "BrojPrimerakaStampe", nullptr},
      {"MainMenu1", "Zaglavlje naloga", "ZaglavljeNaloga", nullptr},
      {"MainMenu1", "Tekst klauzule na nalogu", "UnosKlauzule", nullptr},
      {"MainMenu1", "Jezik na nalogu", nullptr, nullptr},
      {"MainMenu1", "Srpski", "Jezik", "Srpski"},
      {"MainMenu1", "Hrvatski", "Jezik", "Hrvatski"},
      {"MainMenu1", "Pregled naloga u boji", "ColorPregled", nullptr},
  };
  withMainForm([&](const Value& form, ui::Form&) {
    std::vector<std::pair<std::string, std::vector<Value>>> calls;
    app::watchFormMethods([&](std::string_view method, Args a) {
      calls.push_back({std::string(method), std::vector<Value>(a.begin(), a.end())});
      return true;
    });
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.menu) + " " + c.caption);
      const Value menu = part(form, c.menu);
      const ui::MenuEntry* e = entry(menu, c.caption);
      ASSERT_NE(e, nullptr);
      calls.clear();
      ASSERT_NE(e->action, nullptr);
      e->action->trigger();
      QApplication::processEvents();
      if (!c.method) {
        EXPECT_TRUE(calls.empty());
        continue;
      }
      ASSERT_EQ(calls.size(), 1u);
      EXPECT_EQ(calls[0].first, c.method);
      ASSERT_EQ(calls[0].second.size(), 1u);
      if (c.argument) {
        EXPECT_EQ(calls[0].second[0].deref().str(), c.argument);
      } else {
        EXPECT_EQ(ui::libraryOf(calls[0].second[0]), ui::libraryOf(menu));
      }
    }
    app::watchFormMethods({});
  });
  EXPECT_TRUE(errors.empty());
}

TEST_F(MainWindowMenus, TheMainMenuHasItsEntriesAndKeepsTheNumbersOfItsCheckMarks) {
  withMainForm([](const Value& form, ui::Form& main) {
    const Value menu = part(form, "MainMenu1");
    QMenuBar* bar = main.windowIfMade()->findChild<QMenuBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    std::vector<std::string> entries;
    for (const QAction* a : bar->actions()) entries.push_back(a->text().toStdString());
    EXPECT_EQ(entries,
              (std::vector<std::string>{"&Nalog", "&Korisnik", "&Proizvodjac", "P&odesavanja"}));
    EXPECT_EQ(captions(bar->actions()[0]->menu()),
              (std::vector<std::string>{"Novi nalog", "Novi broj naloga", "-", "Snimi nalog",
                                        "Stampaj nalog", "-", "Brisi nalog", "-",
                                        "Dozvoli izmenu naloga"}));
    EXPECT_EQ(captions(bar->actions()[3]->menu()),
              (std::vector<std::string>{"Izbor stampaca", "Broj primeraka stampe", "-",
                                        "Zaglavlje naloga", "Tekst klauzule na nalogu",
                                        "Jezik na nalogu", "-", "Pregled naloga u boji"}));
    // Each entry opens with Alt and its letter.
    for (const char* caption : {"&Nalog", "&Korisnik", "&Proizvodjac", "P&odesavanja"}) {
      const ui::MenuEntry* e = entry(menu, caption);
      ASSERT_NE(e, nullptr) << caption;
      EXPECT_EQ(e->shortcut, 256 + ui::Menu::accessLetter(caption)) << caption;
    }
    QTest::keyClick(main.windowIfMade(), Qt::Key_O, Qt::AltModifier);
    auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open, bar->actions()[3]->menu());
    open->close();
    // The kept numbers name their items; the check marks follow the options read at start-up.
    for (const auto& [id, caption, option] :
         {std::tuple{"nIzborStampaca", "Izbor stampaca", "lIzborStampaca"},
          std::tuple{"nColorPregled", "Pregled naloga u boji", "lColorPregled"},
          std::tuple{"nJezikSrpski", "Srpski", "lJezikSrpski"},
          std::tuple{"nJezikHrvatski", "Hrvatski", "lJezikHrvatski"}}) {
      const Value number = memvarGet(id);
      ASSERT_TRUE(number.isNumber()) << id;
      EXPECT_EQ(send(menu, "GetCaption", {number}).str(), caption);
      EXPECT_EQ(send(menu, "GetChecked", {number}).asBool(), memvarGet(option).asBool()) << id;
    }
  });
  EXPECT_TRUE(errors.empty());
}
