// Menus: building levels, access letters, shortcuts and their texts, the state of items by
// number, Alt with an access letter on the menu bar, Popup at a point of the form, right-click
// pop-ups, and a form's Menu.
#include "../uitest.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "runtime/lang/codeblock.h"
#include "ui/controls/panel.h"
#include "ui/forms/application.h"
#include "ui/forms/form.h"
#include "ui/menus/menu.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;

namespace {

// MenuItem's eleven arguments: caption, second string, block, enabled, checked, third
// logical, Shift, Ctrl, Alt, key, bitmap.
struct Item {
  Item(const char* caption, Value block, bool shift = false, bool ctrl = false, bool alt = false,
       Value key = Value())
      : caption(caption), block(block), shift(shift), ctrl(ctrl), alt(alt), key(key) {}
  const char* caption;
  Value block;
  bool shift, ctrl, alt;
  Value key;
};

int addItem(const Value& menu, const Item& i) {
  return send(menu, "MenuItem",
              {Value(i.caption), Value(), i.block, Value(), Value(), Value(), Value(i.shift),
               Value(i.ctrl), Value(i.alt), i.key, Value()})
      .asInt();
}

class Menus : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = created(&TForm, applicationObject());
    send(form, "SetBounds", {Value(0), Value(0), Value(400), Value(300)});
  }
  Value counter(std::string name) {
    return makeBlock([this, name](Args a) {
      chosen.push_back(name);
      EXPECT_TRUE(arg(a, 0).isObject());  // the menu
      return Value();
    });
  }
  // The main menu of the application's shape: "&Nalog" with two items and a third level.
  Value mainMenu() {
    Value menu = created(&TMainMenu, form);
    send(menu, "BeginMenu");
    addItem(menu, {"&Nalog", Value(), false, false, true, Value("n")});
    send(menu, "BeginMenu");
    novi = addItem(menu, {"&Novi nalog", counter("novi"), false, true, false, Value("N")});
    send(menu, "Separator");
    addItem(menu, {"Jezik na nalogu", Value()});
    send(menu, "BeginMenu");
    srpski = addItem(menu, {"Srpski", counter("srpski")});
    hrvatski = addItem(menu, {"Hrvatski", counter("hrvatski")});
    send(menu, "EndMenu");
    send(menu, "EndMenu");
    addItem(menu, {"P&odesavanja", Value()});
    send(menu, "BeginMenu");
    addItem(menu, {"Boja", counter("boja")});
    send(menu, "EndMenu");
    send(menu, "EndMenu");
    return menu;
  }
  QWidget* window() { return libraryAs<Form>(form)->windowIfMade(); }
  void showActive() {
    send(form, "Show");
    window()->activateWindow();
    (void)QTest::qWaitForWindowActive(window());
  }
  Menu* lib(const Value& menu) { return libraryAs<Menu>(menu); }
  QAction* action(const Value& menu, int id) { return lib(menu)->find(id)->action; }
  const MenuEntry& entry(const Value& menu, const std::string& caption) {
    for (const MenuEntry& e : lib(menu)->items()) {
      if (e.caption == caption) return e;
    }
    ADD_FAILURE() << "no item " << caption;
    return lib(menu)->items().front();
  }

  Value form;
  std::vector<std::string> chosen;
  int novi = 0, srpski = 0, hrvatski = 0;
};

}  // namespace

TEST_F(Menus, AccessLettersAndShortcutTexts) {
  struct Letter {
    const char* caption;
    char access;
  } letters[] = {{"P&odesavanja", 'O'}, {"&Nalog", 'N'}, {"A&&B", 0}, {"&&x &y", 'Y'}, {"", 0}};
  for (const Letter& l : letters) EXPECT_EQ(Menu::accessLetter(l.caption), l.access) << l.caption;
  struct Text {
    int shortcut;
    const char* text;
  } texts[] = {{256 + 'N', "Alt+N"},
               {65536 + 4096 + 256 + '5', "Shift+Ctrl+Alt+5"},
               {4096 + 8, "Ctrl+BkSp"},
               {46, "Del"},
               {113, "F2"},
               {0, ""}};
  for (const Text& t : texts) EXPECT_EQ(Menu::shortcutText(t.shortcut), t.text) << t.shortcut;
}

TEST_F(Menus, ItemsCarryTheirShortcutsAndTheBarTakesAltWithTheAccessLetter) {
  Value menu = mainMenu();
  const auto& items = lib(menu)->items();
  EXPECT_EQ(items[0].shortcut, 256 + 'N');  // Alt with the key "n" upper-cased
  EXPECT_EQ(lib(menu)->find(novi)->shortcut, 4096 + 'N');
  EXPECT_EQ(action(menu, novi)->text().toStdString(), "&Novi nalog\tCtrl+N");
  const MenuEntry& podesavanja = entry(menu, "P&odesavanja");
  EXPECT_EQ(podesavanja.shortcut, 256 + 'O');  // no key given: Alt with the access letter
  // The third level hangs under "Jezik na nalogu", the second under "&Nalog".
  QAction* nalog = items[0].action;
  ASSERT_NE(nalog->menu(), nullptr);
  EXPECT_EQ(nalog->menu()->actions().size(), 3);  // Novi nalog, the separator, Jezik
  QAction* jezik = nalog->menu()->actions().at(2);
  ASSERT_NE(jezik->menu(), nullptr);
  EXPECT_EQ(jezik->menu()->actions().at(1), action(menu, hrvatski));
}

TEST_F(Menus, StateByNumberAndNothingForZero) {
  Value menu = mainMenu();
  send(menu, "SetChecked", {Value(srpski), Value(true)});
  send(menu, "SetChecked", {Value(hrvatski), Value(false)});
  EXPECT_TRUE(send(menu, "GetChecked", {Value(srpski)}).asBool());
  EXPECT_FALSE(send(menu, "GetChecked", {Value(hrvatski)}).asBool());
  EXPECT_TRUE(action(menu, srpski)->isChecked());  // shown checked
  EXPECT_FALSE(action(menu, hrvatski)->isChecked());
  send(menu, "SetCaption", {Value(novi), Value("Novi &radni nalog")});
  EXPECT_EQ(send(menu, "GetCaption", {Value(novi)}).str(), "Novi &radni nalog");
  EXPECT_EQ(action(menu, novi)->text().toStdString(), "Novi &radni nalog\tCtrl+N");
  send(menu, "SetEnabled", {Value(novi), Value(false)});
  EXPECT_FALSE(send(menu, "GetEnabled", {Value(novi)}).asBool());
  EXPECT_FALSE(action(menu, novi)->isEnabled());
  for (const char* get : {"GetCaption", "GetChecked", "GetEnabled"}) {
    EXPECT_TRUE(send(menu, get, {Value(0)}).isNil()) << get;
  }
  send(menu, "SetChecked", {Value(0), Value(true)});
  EXPECT_TRUE(raised.empty());
  // Choosing a ticked item keeps its tick until the program changes it.
  action(menu, srpski)->trigger();
  EXPECT_TRUE(action(menu, srpski)->isChecked());
  EXPECT_EQ(chosen, (std::vector<std::string>{"srpski"}));
}

TEST_F(Menus, AltWithAnAccessLetterOpensTheBarEntryAndShortcutsFire) {
  Value menu = mainMenu();
  send(form, "_Menu", {menu});
  showActive();
  Watchdog watchdog;
  QTest::keyClick(window(), Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(chosen, (std::vector<std::string>{"novi"}));
  QTest::keyClick(window(), Qt::Key_O, Qt::AltModifier);
  auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open, entry(menu, "P&odesavanja").action->menu());
  QTest::keyClick(open, Qt::Key_Down);
  QTest::keyClick(open, Qt::Key_Return);
  EXPECT_EQ(chosen, (std::vector<std::string>{"novi", "boja"}));
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(Menus, TheMenuBarLiesAboveTheClientArea) {
  Value panel = created(&TPanel, form);
  send(panel, "SetBounds", {Value(0), Value(0), Value(50), Value(20)});
  const int before = send(form, "ClientHeight").asInt();
  send(form, "_Menu", {mainMenu()});
  showActive();
  QMenuBar* bar = window()->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_TRUE(bar->isVisible());
  EXPECT_GT(bar->height(), 10);
  const QPoint at = libraryAs<Panel>(panel)->windowIfMade()->mapTo(window(), QPoint(0, 0));
  EXPECT_GE(at.y(), bar->geometry().bottom());
  EXPECT_EQ(send(form, "ClientHeight").asInt(), before - libraryAs<Form>(form)->menuBarHeight());
  EXPECT_EQ(send(form, "Height").asInt(), 300);
}

TEST_F(Menus, AMenuAnotherFormHoldsGives6003) {
  Value menu = mainMenu();
  send(form, "_Menu", {menu});
  Value other = created(&TForm, applicationObject());
  send(other, "_Menu", {menu});
  ASSERT_EQ(raised.size(), 1u);
  EXPECT_EQ(raised[0].subCode, 6003);
  EXPECT_EQ(raised[0].description, "The menu is used by other form.");
  EXPECT_TRUE(send(other, "Menu").isNil());
  EXPECT_EQ(send(form, "Menu").arr(), menu.arr());
  raised.clear();
  send(other, "_Menu", {created(&TPopupMenu, other)});
  ASSERT_EQ(raised.size(), 1u);
  EXPECT_EQ(raised[0].subCode, 6001);
  // Once the first form lets it go, the other may take it.
  raised.clear();
  send(form, "_Menu", {Value()});
  send(other, "_Menu", {menu});
  EXPECT_TRUE(raised.empty());
  EXPECT_EQ(send(other, "Menu").arr(), menu.arr());
}

TEST_F(Menus, PopupOpensAtAPointOfTheFormAndOdustaniDoesNothing) {
  Value popup = created(&TPopupMenu, form);
  send(popup, "BeginMenu");
  addItem(popup, {"Izmeni", counter("izmeni")});
  send(popup, "Separator");
  const int odustani = addItem(popup, {"Odustani", Value()});
  send(popup, "EndMenu");
  showActive();
  Watchdog watchdog;
  QPoint shownAt;
  later(50, [&] {
    auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!open) return;
    shownAt = open->pos();
    QTest::mouseClick(open, Qt::LeftButton, Qt::NoModifier,
                      open->actionGeometry(action(popup, odustani)).center());
  });
  send(popup, "Popup", {Value(8 + 40), Value(16 + 30)});  // a group box's and a button's places
  EXPECT_EQ(shownAt, libraryAs<Form>(form)->clientWidget()->mapToGlobal(QPoint(48, 46)));
  EXPECT_TRUE(chosen.empty());
  EXPECT_TRUE(raised.empty());
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
  // Without an owner form window Popup does nothing.
  Value hidden = created(&TForm, applicationObject());
  libraryAs<Form>(hidden)->destroyWindow();
  Value orphan = created(&TPopupMenu, hidden);
  send(orphan, "BeginMenu");
  addItem(orphan, {"Izmeni", counter("izmeni")});
  send(orphan, "EndMenu");
  send(orphan, "Popup", {Value(1), Value(1)});
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(Menus, ARightClickOpensTheControlsPopupMenuAtTheMouse) {
  Value panel = created(&TPanel, form);
  send(panel, "SetBounds", {Value(20), Value(20), Value(200), Value(100)});
  Value popup = created(&TPopupMenu, form);
  send(popup, "BeginMenu");
  const int izmeni = addItem(popup, {"&Izmeni", counter("izmeni")});
  send(popup, "EndMenu");
  send(panel, "_PopupMenu", {popup});
  EXPECT_EQ(send(panel, "PopupMenu").arr(), popup.arr());
  showActive();
  Watchdog watchdog;
  QWidget* area = libraryAs<Panel>(panel)->windowIfMade();
  QPoint shownAt;
  later(50, [&] {
    auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!open) return;
    shownAt = open->pos();
    QTest::mouseClick(open, Qt::LeftButton, Qt::NoModifier,
                      open->actionGeometry(action(popup, izmeni)).center());
  });
  QTest::mouseClick(area, Qt::RightButton, Qt::NoModifier, QPoint(30, 40));
  QTest::qWait(100);
  EXPECT_EQ(shownAt, area->mapToGlobal(QPoint(30, 40)));
  EXPECT_EQ(chosen, (std::vector<std::string>{"izmeni"}));
  raised.clear();
  send(panel, "_PopupMenu", {Value("menu")});
  ASSERT_EQ(raised.size(), 1u);
  EXPECT_EQ(raised[0].subCode, 6001);
}
