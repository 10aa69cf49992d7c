#pragma once
// Menus: TMainMenu, a form's menu bar, and TPopupMenu, a pop-up menu shown at a point or on a
// right click. A program builds a menu as a sequence of calls: BeginMenu opens a level (the
// first level of a main menu is the bar, every later level a pop-up menu under the item added
// last), MenuItem and Separator add to the current level, EndMenu closes it. Each item has a
// number that names it while it exists (MenuItem answers it) and a code block that runs with
// the menu as its one argument when the item is chosen, by the mouse or by its shortcut.
//
// Captions mark their access letter with "&" ("&&" is a literal "&"). The shortcut is a key
// code plus 65536 for Shift, 4096 for Ctrl and 256 for Alt; an item on the bar of a main menu
// given no key and no modifier takes Alt plus its access letter. The shortcut's text
// ("Shift+", "Ctrl+", "Alt+", then the key's name) is shown right of the caption.
//
// The menus are Qt menus: QMenuBar for the bar, QMenu for every other level, one QAction per
// item, all owned by the menu object, so a form's window can be made again without losing its
// menu bar.
#include <QPointer>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "ui/core/component.h"

class QAction;
class QMenu;
class QMenuBar;
class QObject;
class QPoint;

namespace kv::ui {

class Form;

struct MenuEntry {
  int id = 0;
  std::string caption;
  std::string second;  // kept with the item; the menus give it no meaning
  Value block;
  bool enabled = true;
  bool checked = false;
  bool third = true;  // kept with the item; the menus give it no meaning
  bool separator = false;
  char access = 0;   // the access letter, upper-cased; 0 for none
  int shortcut = 0;  // key code + 65536 Shift + 4096 Ctrl + 256 Alt
  bool onBar = false;
  QAction* action = nullptr;
};

class Menu : public Component {
 public:
  explicit Menu(bool main);
  ~Menu() override;

  bool isMain() const { return main_; }
  void beginMenu();
  void endMenu();
  // MenuItem with its eleven arguments; answers the item's number.
  int addItem(Args args);
  void addSeparator();
  // The item of a number; null for 0 or a number the menu does not have.
  MenuEntry* find(int id);
  void setCaption(MenuEntry& e, const std::string& caption);
  void setChecked(MenuEntry& e, bool on);
  void setEnabled(MenuEntry& e, bool on);
  const std::deque<MenuEntry>& items() const { return items_; }

  // The menu bar of a main menu, made when first asked for (a form's window takes it).
  QMenuBar* menuBar();
  // The pop-up menu of the first level of a pop-up menu (null before BeginMenu).
  QMenu* rootMenu() const { return root_; }
  // The form whose menu bar this main menu is, null for none.
  Form* attachedForm() const;
  void setAttachedForm(Form* form);

  // Shows the pop-up menu at a point of the screen and returns when it closes (the chosen
  // item's block has run by then).
  void popupAt(const QPoint& global);
  // Popup(x, y): at a point of the owner form's client area; nothing without an owner form
  // whose window exists.
  void popup(int x, int y);
  // Runs the block of item `id` (a chosen item).
  void choose(int id);

  // "Shift+", "Ctrl+", "Alt+" in that order, then the key's name; "" for no shortcut.
  static std::string shortcutText(int shortcut);
  // The upper-cased character after the first "&" not followed by another "&"; 0 for none.
  static char accessLetter(const std::string& caption);

 protected:
  void release() override;

 private:
  void applyText(MenuEntry& e);
  void applyShortcut(MenuEntry& e);

  bool main_;
  int depth_ = 0;
  std::vector<QMenu*> open_;  // the level being built at each depth (null for the bar)
  std::vector<std::unique_ptr<QMenu>> menus_;
  std::unique_ptr<QObject> holder_;  // the parent of every action
  std::vector<QAction*> barActions_;
  std::deque<MenuEntry> items_;
  MenuEntry* last_ = nullptr;  // the item under which the next level opens
  QMenu* root_ = nullptr;
  QPointer<QMenuBar> bar_;
  Form* form_ = nullptr;
  Alive formAlive_;
};

extern const LibClass kMainMenuClass;
extern const LibClass kPopupMenuClass;
Value TMainMenu();
Value TPopupMenu();

// A form's Menu: attaches a main menu as the form's menu bar (NIL removes it). A menu that is
// the menu of another form raises library error 3 and changes nothing; anything but a main
// menu raises library error 1.
void setFormMenu(Form& form, const Value& menu, Args args);

}  // namespace kv::ui
