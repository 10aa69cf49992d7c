#include "ui/menus/menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>

#include <cctype>

#include "runtime/lang/codeblock.h"
#include "ui/core/eventrouter.h"
#include "ui/core/keys.h"
#include "ui/core/messageloop.h"
#include "ui/core/text.h"
#include "ui/forms/form.h"

namespace kv::ui {

namespace {

constexpr int kShift = 65536;
constexpr int kCtrl = 4096;
constexpr int kAlt = 256;
constexpr int kBitmapSize = 16;

int g_nextItem = 0;

bool argBool(Args args, std::size_t i, bool fallback) {
  const Value& v = arg(args, i).deref();
  return v.isLogical() ? v.asBool() : fallback;
}

std::string argString(Args args, std::size_t i) {
  const Value& v = arg(args, i).deref();
  return v.isString() ? std::string(v.str()) : std::string();
}

// The key code of MenuItem's tenth argument: a string's first character upper-cased, or a
// number; 0 for none.
int keyCodeOf(const Value& v) {
  const Value& d = v.deref();
  if (d.isNumber()) return d.asInt() & 0xFF;
  if (d.isString() && !d.str().empty()) {
    return std::toupper(static_cast<unsigned char>(d.str().front()));
  }
  return 0;
}

const char* keyName(int vk) {
  switch (vk) {
    case 8:
      return "BkSp";
    case 9:
      return "Tab";
    case 13:
      return "Enter";
    case 27:
      return "Esc";
    case 32:
      return "Space";
    case 33:
      return "PgUp";
    case 34:
      return "PgDn";
    case 35:
      return "End";
    case 36:
      return "Home";
    case 37:
      return "Left";
    case 38:
      return "Up";
    case 39:
      return "Right";
    case 40:
      return "Down";
    case 45:
      return "Ins";
    case 46:
      return "Del";
    default:
      return nullptr;
  }
}

}  // namespace

Menu::Menu(bool main) : main_(main), holder_(std::make_unique<QObject>()) {}

Menu::~Menu() {
  // A block may destroy the menu while one of its actions or menus is handling an event, so
  // the Qt objects are freed by the message loop, outside that event.
  if (bar_) {
    bar_->hide();
    bar_->deleteLater();
  }
  for (auto& m : menus_) m.release()->deleteLater();
  holder_.release()->deleteLater();
}

void Menu::release() {
  if (Form* f = attachedForm()) setFormMenu(*f, Value(), {});
  Component::release();
  for (auto& m : menus_) {
    if (m) m->hide();
  }
  if (bar_) bar_->hide();
}

std::string Menu::shortcutText(int shortcut) {
  if (shortcut == 0) return {};
  std::string s;
  if (shortcut & kShift) s += "Shift+";
  if (shortcut & kCtrl) s += "Ctrl+";
  if (shortcut & kAlt) s += "Alt+";
  const int vk = shortcut & 0xFF;
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
    s += static_cast<char>(vk);
  } else if (const char* name = keyName(vk)) {
    s += name;
  } else if (vk >= 112 && vk <= 135) {
    s += "F" + std::to_string(vk - 111);
  } else {
    s += "#" + std::to_string(vk);
  }
  return s;
}

char Menu::accessLetter(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
  }
  return 0;
}

QMenuBar* Menu::menuBar() {
  if (!main_) return nullptr;
  if (!bar_) {
    bar_ = new QMenuBar;
    bar_->setNativeMenuBar(false);
    for (QAction* a : barActions_) bar_->addAction(a);
  }
  return bar_;
}

Form* Menu::attachedForm() const {
  return formAlive_ ? form_ : nullptr;
}

void Menu::setAttachedForm(Form* form) {
  form_ = form;
  formAlive_ = form ? form->alive() : Alive();
}

void Menu::beginMenu() {
  ++depth_;
  QMenu* level = nullptr;
  if (depth_ == 1 && main_) {
    menuBar();
  } else {
    menus_.push_back(std::make_unique<QMenu>());
    level = menus_.back().get();
    if (depth_ == 1) {
      root_ = level;
    } else if (last_ && last_->action) {
      last_->action->setMenu(level);
    }
  }
  open_.push_back(level);
  last_ = nullptr;
}

void Menu::endMenu() {
  if (depth_ == 0) return;
  --depth_;
  open_.pop_back();
  last_ = nullptr;
}

int Menu::addItem(Args args) {
  MenuEntry& e = items_.emplace_back();
  e.id = ++g_nextItem;
  e.caption = argString(args, 0);
  e.second = argString(args, 1);
  const Value& block = arg(args, 2).deref();
  if (block.isBlock()) e.block = block;
  e.enabled = argBool(args, 3, true);
  e.checked = argBool(args, 4, false);
  e.third = argBool(args, 5, true);
  const bool shift = argBool(args, 6, false), ctrl = argBool(args, 7, false),
             alt = argBool(args, 8, false);
  e.access = accessLetter(e.caption);
  e.onBar = main_ && depth_ == 1;
  if (int key = keyCodeOf(arg(args, 9))) {
    e.shortcut = key + (shift ? kShift : 0) + (ctrl ? kCtrl : 0) + (alt ? kAlt : 0);
  } else if (!shift && !ctrl && !alt && e.onBar && e.access) {
    e.shortcut = kAlt + static_cast<unsigned char>(e.access);
  }
  e.action = new QAction(holder_.get());
  const int id = e.id;
  QObject::connect(e.action, &QAction::triggered, holder_.get(),
                   [this, id] { guarded([this, id] { choose(id); }); });
  applyText(e);
  applyShortcut(e);
  e.action->setEnabled(e.enabled);
  setChecked(e, e.checked);
  const std::string bitmap = argString(args, 10);
  if (bitmap.find_first_of(".:\\") != std::string::npos) {
    QPixmap pixmap(toQString(bitmap));
    if (!pixmap.isNull()) {
      if (pixmap.width() > kBitmapSize || pixmap.height() > kBitmapSize) {
        pixmap = pixmap.scaled(kBitmapSize, kBitmapSize, Qt::KeepAspectRatio);
      }
      e.action->setIcon(QIcon(pixmap));
    }
  }
  if (depth_ == 0 || open_.empty()) {
    // An item outside every level is kept (it can be asked and changed) but shown nowhere.
  } else if (QMenu* level = open_.back()) {
    level->addAction(e.action);
  } else {
    barActions_.push_back(e.action);
    if (bar_) bar_->addAction(e.action);
  }
  last_ = &e;
  return e.id;
}

void Menu::addSeparator() {
  MenuEntry& e = items_.emplace_back();
  e.id = ++g_nextItem;
  e.separator = true;
  e.action = new QAction(holder_.get());
  e.action->setSeparator(true);
  if (!open_.empty()) {
    if (QMenu* level = open_.back()) {
      level->addAction(e.action);
    } else {
      barActions_.push_back(e.action);
      if (bar_) bar_->addAction(e.action);
    }
  }
  last_ = nullptr;
}

MenuEntry* Menu::find(int id) {
  if (id == 0) return nullptr;
  for (MenuEntry& e : items_) {
    if (e.id == id) return &e;
  }
  return nullptr;
}

void Menu::applyText(MenuEntry& e) {
  if (!e.action || e.separator) return;
  QString text = toQString(e.caption);
  // The bar shows captions only; the pop-up levels show the shortcut in a column of its own.
  if (!e.onBar && e.shortcut) text += QLatin1Char('\t') + toQString(shortcutText(e.shortcut));
  e.action->setText(text);
}

void Menu::applyShortcut(MenuEntry& e) {
  if (!e.action || e.shortcut == 0) return;
  // Alt with the access letter of a bar entry is the bar's own mnemonic.
  if (e.onBar && e.shortcut == kAlt + static_cast<unsigned char>(e.access)) return;
  const int key = qtKeyOf(e.shortcut & 0xFF);
  if (key == 0) return;
  int mods = 0;
  if (e.shortcut & kShift) mods |= Qt::SHIFT;
  if (e.shortcut & kCtrl) mods |= Qt::CTRL;
  if (e.shortcut & kAlt) mods |= Qt::ALT;
  e.action->setShortcut(QKeySequence(key | mods));
  e.action->setShortcutContext(Qt::WindowShortcut);
}

void Menu::setCaption(MenuEntry& e, const std::string& caption) {
  e.caption = caption;
  e.access = accessLetter(caption);
  applyText(e);
}

void Menu::setChecked(MenuEntry& e, bool on) {
  e.checked = on;
  if (!e.action || e.separator) return;
  // Only a ticked item carries a check mark; Qt's own toggling on a click is not used.
  e.action->setCheckable(on);
  e.action->setChecked(on);
}

void Menu::setEnabled(MenuEntry& e, bool on) {
  e.enabled = on;
  if (e.action) e.action->setEnabled(on);
}

void Menu::choose(int id) {
  MenuEntry* e = find(id);
  if (!e) return;
  setChecked(*e, e->checked);
  if (e->block.isNil()) return;
  Value block = e->block;  // held while it runs, even if the item's menu goes
  Value self = language();
  EVAL(block, {self});
}

void Menu::popupAt(const QPoint& global) {
  if (!root_) return;
  QPointer<QMenu> menu = root_;
  Alive alive = this->alive();
  menu->popup(global);
  while (alive && menu && menu->isVisible() && !terminated()) messageStep();
}

void Menu::popup(int x, int y) {
  auto* owner = dynamic_cast<Control*>(this->owner());
  Form* form = owner ? owner->parentForm() : nullptr;
  if (!form || !form->hasWindow()) return;
  QWidget* client = form->clientWidget();
  if (!client) return;
  popupAt(client->mapToGlobal(QPoint(x, y)));
}

}  // namespace kv::ui
