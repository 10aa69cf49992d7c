// Window controls: keyboard handling, tab order and focus, and the TWinControl messages.
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

#include "ui/controls/wincontrol.h"
#include "ui/core/keys.h"
#include "ui/core/messages.h"
#include "ui/core/stacking.h"
#include "ui/menus/menu.h"

namespace kv::ui {

namespace {

// The key event being handled, for the default handling at the end of WMKeyDown/WMKeyUp.
struct KeyContext {
  QObject* watched;
  QKeyEvent* event;
  KeyContext* outer;
};
KeyContext* g_key = nullptr;

class KeyScope {
 public:
  KeyScope(QObject* watched, QKeyEvent* event) : ctx_{watched, event, g_key} { g_key = &ctx_; }
  ~KeyScope() { g_key = ctx_.outer; }
  KeyScope(const KeyScope&) = delete;
  KeyScope& operator=(const KeyScope&) = delete;

 private:
  KeyContext ctx_;
};

Qt::KeyboardModifiers modifiers() {
  return g_key ? g_key->event->modifiers() : QGuiApplication::keyboardModifiers();
}

void collect(WinControl* root, std::vector<WinControl*>& out);

}  // namespace

bool WinControl::keyPress(QObject* watched, QKeyEvent* event) {
  const int vk = virtualKeyOf(event);
  if (vk == 0) return false;
  KeyScope scope(watched, event);
  wmKeyDown(vk, keyDataOf(event));
  // Handled here: a key never travels on to the parent windows.
  event->accept();
  return true;
}

bool WinControl::keyRelease(QObject* watched, QKeyEvent* event) {
  const int vk = virtualKeyOf(event);
  if (vk == 0) return false;
  KeyScope scope(watched, event);
  wmKeyUp(vk, keyDataOf(event));
  event->accept();
  return true;
}

int WinControl::wmKeyDown(int vk, int keyData) {
  Value r;
  if (sendThroughLanguage("WMKeyDown", {Value(vk), Value(keyData)}, &r)) return r.asInt();
  return keyDownImpl(vk, keyData);
}

int WinControl::wmKeyUp(int vk, int keyData) {
  Value r;
  if (sendThroughLanguage("WMKeyUp", {Value(vk), Value(keyData)}, &r)) return r.asInt();
  return keyUpImpl(vk, keyData);
}

int WinControl::keyDownImpl(int vk, int keyData) {
  Alive alive = this->alive();
  WinControl* top = topControl();
  // Keys belong to the control the form last gave the focus to.
  WinControl* active = top ? top->activeControl() : nullptr;
  if (active && active != this && active->hasWindow() && active->canTakeFocus()) {
    active->setFocus();
    return active->wmKeyDown(vk, keyData);
  }
  if (events().has(kOnKeyDown)) {
    ByRef key{Value(vk)};
    fire(kOnKeyDown, {key.arg()});
    if (!alive) return 0;
    if (key.value().isNumber()) vk = key.value().asInt();
    if (vk == 0) return 0;
  }
  if (top) {
    if (vk == kVkTab) {
      const bool back = modifiers() & Qt::ShiftModifier;
      if (WinControl* next = nextInTabOrder(top, this, !back, true, false)) next->setFocus();
      return 0;
    }
    if (!(tabKeys_ & 1)) {
      int direction = 0;
      if ((vk == kVkUp && (tabKeys_ & 2)) || (vk == kVkLeft && (tabKeys_ & 8))) direction = -1;
      if ((vk == kVkDown && (tabKeys_ & 4)) || (vk == kVkRight && (tabKeys_ & 16)) ||
          (vk == kVkReturn && (tabKeys_ & 32))) {
        direction = 1;
      }
      if (direction != 0) {
        if (WinControl* next = nextInTabOrder(top, this, direction > 0, false, true)) {
          next->setFocus();
        }
        return 0;
      }
    }
    if (vk == kVkEscape) {
      for (WinControl* c : tabSequence(top)) {
        if (c->isCancelButton() && c->visible() && c->canTakeFocus()) {
          c->click();
          return 0;
        }
      }
    }
  }
  if (!ownKey(vk)) defaultKey(vk);
  return 0;
}

int WinControl::keyUpImpl(int vk, int) {
  defaultKey(vk);
  return 0;
}

void WinControl::defaultKey(int vk) {
  QObject* receiver = widget_;
  if (g_key && targetOf(g_key->watched) == this) receiver = g_key->watched;
  if (!receiver) return;
  if (g_key && virtualKeyOf(g_key->event) == vk) {
    receiver->event(g_key->event);
    return;
  }
  const int key = qtKeyOf(vk);
  if (key == 0) return;
  const QEvent::Type type = g_key ? g_key->event->type() : QEvent::KeyPress;
  QKeyEvent synthetic(type, key, modifiers(), keyText(vk));
  receiver->event(&synthetic);
}

QString WinControl::keyText(int vk) {
  if (g_key && virtualKeyOf(g_key->event) == vk) return g_key->event->text();
  // A key that OnKeyDown changed types what the new key types.
  if (vk >= 'A' && vk <= 'Z') return QChar(modifiers() & Qt::ShiftModifier ? vk : vk - 'A' + 'a');
  if ((vk >= '0' && vk <= '9') || vk == kVkSpace) return QChar(vk);
  if (vk == kVkReturn) return QStringLiteral("\r");
  return QString();
}

Qt::KeyboardModifiers WinControl::keyModifiers() {
  return modifiers();
}

int WinControl::tabOrder() const {
  WinControl* p = parentControl();
  if (!p) return 0;
  auto it = std::find(p->tabList_.begin(), p->tabList_.end(), this);
  return it == p->tabList_.end() ? 0 : static_cast<int>(it - p->tabList_.begin());
}

void WinControl::setTabOrder(int position) {
  WinControl* p = parentControl();
  if (!p) return;
  auto& list = p->tabList_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  position = std::clamp(position, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + position, this);
}

bool WinControl::canTakeFocus() const {
  if (!widget_ || !tabStop_ || !(widget_->focusPolicy() & Qt::TabFocus)) return false;
  for (const Control* c = this; c; c = c->parentControl()) {
    if (!c->visible() || !c->enabled()) return false;
    if (static_cast<const WinControl*>(c)->isTopLevel()) break;
  }
  return true;
}

void WinControl::setFocus() {
  QWidget* w = window();
  if (!w) return;
  if (isTopLevel()) w->activateWindow();
  w->setFocus(Qt::OtherFocusReason);
}

bool WinControl::hasFocus() const {
  return widget_ && widget_->hasFocus();
}

namespace {

void collect(WinControl* root, std::vector<WinControl*>& out) {
  std::vector<WinControl*> children = root->childControls();
  std::stable_sort(children.begin(), children.end(),
                   [](WinControl* a, WinControl* b) { return a->tabOrder() < b->tabOrder(); });
  for (WinControl* c : children) {
    out.push_back(c);
    collect(c, out);
  }
}

}  // namespace

std::vector<WinControl*> tabSequence(WinControl* root) {
  std::vector<WinControl*> out;
  if (root) collect(root, out);
  return out;
}

WinControl* nextInTabOrder(WinControl* root, WinControl* from, bool forward, bool wrap,
                           bool arrows) {
  std::vector<WinControl*> seq = tabSequence(root);
  const int n = static_cast<int>(seq.size());
  if (n == 0) return nullptr;
  auto it = std::find(seq.begin(), seq.end(), from);
  int i = it == seq.end() ? (forward ? -1 : n) : static_cast<int>(it - seq.begin());
  for (int step = 1; step <= n; ++step) {
    int j = forward ? i + step : i - step;
    if (!wrap && (j < 0 || j >= n)) break;
    j = ((j % n) + n) % n;
    WinControl* c = seq[static_cast<std::size_t>(j)];
    if (c == from) continue;
    if (arrows && (c->tabKeys() & 1)) continue;
    if (c->canTakeFocus()) return c;
  }
  return nullptr;
}

namespace {

void registerWinControl(ClassDef* cls) {
  method<WinControl>(cls, "BringToFront", [](WinControl& c, Args) -> Value {
    raiseWidget(c.window());
    return Value();
  });
  readOnly<WinControl>(cls, "Brush", [](WinControl& c) { return c.brushObject(); });
  readOnly<WinControl>(cls, "Controls", [](WinControl& c) {
    Value list = Value::newArray();
    for (WinControl* child : c.childControls()) {
      if (child->hasLanguage()) list.arr()->items.push_back(child->language());
    }
    return list;
  });
  property<WinControl>(
      cls, "DragDrop", [](WinControl& c) { return Value(c.dragDrop); },
      [](WinControl& c, const Value& v, Args a) {
        if (boolArg(v, c.dragDrop, "_DRAGDROP", a) && c.windowIfMade()) {
          c.windowIfMade()->setAcceptDrops(c.dragDrop);
        }
      });
  readOnly<WinControl>(cls, "Handle", [](WinControl& c) { return Value(c.handle()); });
  property<WinControl>(
      cls, "HelpContext", [](WinControl& c) { return Value(c.helpContext); },
      [](WinControl& c, const Value& v, Args a) { intArg(v, c.helpContext, "_HELPCONTEXT", a); });
  property<WinControl>(
      cls, "HelpKeyword", [](WinControl& c) { return Value(c.helpKeyword); },
      [](WinControl& c, const Value& v, Args a) {
        stringArg(v, c.helpKeyword, "_HELPKEYWORD", a);
      });
  property<WinControl>(
      cls, "ParentFont", [](WinControl& c) { return Value(c.parentFont); },
      [](WinControl& c, const Value& v, Args a) { boolArg(v, c.parentFont, "_PARENTFONT", a); });
  property<WinControl>(
      cls, "PopupMenu", [](WinControl& c) { return c.popupMenu; },
      [](WinControl& c, const Value& v, Args a) {
        const Value& d = v.deref();
        auto* menu = libraryAs<Menu>(d);
        if (!d.isNil() && (!menu || menu->isMain())) {
          guiError(kGuiArgument, "_POPUPMENU", a);
          return;
        }
        c.popupMenu = menu ? d : Value();
      });
  event<WinControl>(cls, "OnDragDrop", kOnDragDrop);
  event<WinControl>(cls, "OnEnter", kOnEnter);
  event<WinControl>(cls, "OnExit", kOnExit);
  event<WinControl>(cls, "OnKeyDown", kOnKeyDown);
  event<WinControl>(cls, "OnPaint", kOnPaint);
  method<WinControl>(cls, "PaintWindow", [](WinControl& c, Args a) -> Value {
    c.paintWindowImpl(arg(a, 0).asInt());
    return Value();
  });
  auto repaint = [](WinControl& c, Args) -> Value {
    if (QWidget* w = c.windowIfMade()) w->repaint();
    return Value();
  };
  method<WinControl>(cls, "Refresh", repaint);
  method<WinControl>(cls, "Repaint", repaint);
  method<WinControl>(cls, "SendToBack", [](WinControl& c, Args) -> Value {
    if (QWidget* w = c.window()) w->lower();
    return Value();
  });
  method<WinControl>(cls, "SetFocus", [](WinControl& c, Args) -> Value {
    c.setFocus();
    return Value();
  });
  property<WinControl>(
      cls, "TabKeys", [](WinControl& c) { return Value(c.tabKeys()); },
      [](WinControl& c, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_TABKEYS", a)) c.setTabKeys(n);
      });
  property<WinControl>(
      cls, "TabOrder", [](WinControl& c) { return Value(c.tabOrder()); },
      [](WinControl& c, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_TABORDER", a)) c.setTabOrder(n);
      });
  property<WinControl>(
      cls, "TabStop", [](WinControl& c) { return Value(c.tabStop()); },
      [](WinControl& c, const Value& v, Args a) {
        bool on;
        if (boolArg(v, on, "_TABSTOP", a)) c.setTabStop(on);
      });
  property<WinControl>(
      cls, "Themed", [](WinControl& c) { return Value(c.themed); },
      [](WinControl& c, const Value& v, Args a) { boolArg(v, c.themed, "_THEMED", a); });
  method<WinControl>(cls, "WMKeyDown", [](WinControl& c, Args a) -> Value {
    return Value(c.keyDownImpl(arg(a, 0).asInt(), arg(a, 1).asInt()));
  });
  method<WinControl>(cls, "WMKeyUp", [](WinControl& c, Args a) -> Value {
    return Value(c.keyUpImpl(arg(a, 0).asInt(), arg(a, 1).asInt()));
  });
}

}  // namespace

const LibClass kWinControlClass = {"TWinControl", &kControlClass, nullptr, &registerWinControl};

}  // namespace kv::ui
