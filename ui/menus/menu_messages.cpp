// The messages of TMainMenu and TPopupMenu in the library's registration order, and a form's
// Menu.
#include <QMenuBar>

#include "ui/core/messages.h"
#include "ui/forms/form.h"
#include "ui/menus/menu.h"

namespace kv::ui {

namespace {

// The item a Get or Set message names; null (doing nothing) for 0 or an unknown number.
MenuEntry* itemOf(Menu& m, Args a) {
  const Value& v = arg(a, 0).deref();
  return v.isNumber() ? m.find(v.asInt()) : nullptr;
}

void registerMenu(ClassDef* cls) {
  method<Menu>(cls, "BeginMenu", [](Menu& m, Args) -> Value {
    m.beginMenu();
    return Value();
  });
  addMethod(cls, "Create", [](const Value& self, Args args) -> Value {
    if (LibObject* lib = libraryOf(self)) lib->createImpl(args);
    return self;
  });
  method<Menu>(cls, "EndMenu", [](Menu& m, Args) -> Value {
    m.endMenu();
    return Value();
  });
  method<Menu>(cls, "GetCaption", [](Menu& m, Args a) -> Value {
    MenuEntry* e = itemOf(m, a);
    return e ? Value(e->caption) : Value();
  });
  method<Menu>(cls, "GetChecked", [](Menu& m, Args a) -> Value {
    MenuEntry* e = itemOf(m, a);
    return e ? Value(e->checked) : Value();
  });
  method<Menu>(cls, "GetEnabled", [](Menu& m, Args a) -> Value {
    MenuEntry* e = itemOf(m, a);
    return e ? Value(e->enabled) : Value();
  });
  readOnly<Menu>(cls, "Handle", [](Menu& m) {
    return Value(static_cast<int>(reinterpret_cast<std::uintptr_t>(&m) & 0x7FFFFFFF));
  });
  method<Menu>(cls, "MenuItem", [](Menu& m, Args a) -> Value { return Value(m.addItem(a)); });
  method<Menu>(cls, "Separator", [](Menu& m, Args) -> Value {
    m.addSeparator();
    return Value();
  });
  method<Menu>(cls, "SetCaption", [](Menu& m, Args a) -> Value {
    std::string caption;
    MenuEntry* e = itemOf(m, a);
    if (e && stringArg(arg(a, 1), caption, "SETCAPTION", a)) m.setCaption(*e, caption);
    return Value();
  });
  method<Menu>(cls, "SetChecked", [](Menu& m, Args a) -> Value {
    bool on;
    MenuEntry* e = itemOf(m, a);
    if (e && boolArg(arg(a, 1), on, "SETCHECKED", a)) m.setChecked(*e, on);
    return Value();
  });
  method<Menu>(cls, "SetEnabled", [](Menu& m, Args a) -> Value {
    bool on;
    MenuEntry* e = itemOf(m, a);
    if (e && boolArg(arg(a, 1), on, "SETENABLED", a)) m.setEnabled(*e, on);
    return Value();
  });
}

void registerPopupMenu(ClassDef* cls) {
  method<Menu>(cls, "Popup", [](Menu& m, Args a) -> Value {
    m.popup(arg(a, 0).deref().asInt(), arg(a, 1).deref().asInt());
    return Value();
  });
}

void registerNothing(ClassDef*) {}

LibObject* makeMainMenu() {
  return new Menu(true);
}

LibObject* makePopupMenu() {
  return new Menu(false);
}

const LibClass kMenuClass = {"TMenu", &kComponentClass, nullptr, &registerMenu};

}  // namespace

const LibClass kMainMenuClass = {"TMainMenu", &kMenuClass, &makeMainMenu, &registerNothing};
const LibClass kPopupMenuClass = {"TPopupMenu", &kMenuClass, &makePopupMenu, &registerPopupMenu};

Value TMainMenu() {
  return classFunction(kMainMenuClass);
}

Value TPopupMenu() {
  return classFunction(kPopupMenuClass);
}

void setFormMenu(Form& form, const Value& menu, Args args) {
  const Value& d = menu.deref();
  Menu* m = nullptr;
  if (!d.isNil()) {
    m = libraryAs<Menu>(d);
    if (!m || !m->isMain()) {
      guiError(kGuiArgument, "_MENU", args);
      return;
    }
    if (Form* other = m->attachedForm(); other && other != &form) {
      guiError(kGuiMenuUsed, "_MENU", args);
      return;
    }
  }
  Menu* old = libraryAs<Menu>(form.menu);
  if (old && old != m) old->setAttachedForm(nullptr);
  form.menu = m ? d : Value();
  if (m) m->setAttachedForm(&form);
  form.setMenuBar(m ? m->menuBar() : nullptr);
}

}  // namespace kv::ui
