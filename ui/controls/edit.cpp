#include "ui/controls/edit.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "ui/core/keys.h"
#include "ui/core/messages.h"
#include "ui/core/text.h"

namespace kv::ui {

namespace {

Qt::Alignment qtAlignment(int alignment) {
  switch (alignment) {
    case 1:
      return Qt::AlignRight | Qt::AlignVCenter;
    case 2:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
      return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

template <class T, bool Edit::*Flag>
void flag(ClassDef* cls, const char* name, const char* setter) {
  property<T>(
      cls, name, [](T& e) { return Value(e.*Flag); },
      [setter](T& e, const Value& v, Args a) { boolArg(v, e.*Flag, setter, a); });
}

template <class T, int Edit::*Number>
void number(ClassDef* cls, const char* name, const char* setter) {
  property<T>(
      cls, name, [](T& e) { return Value(e.*Number); },
      [setter](T& e, const Value& v, Args a) { intArg(v, e.*Number, setter, a); });
}

void registerEdit(ClassDef* cls) {
  registerEditMessages(cls);
}

LibObject* makeEdit() {
  return new Edit;
}

}  // namespace

void registerEditMessages(ClassDef* cls) {
  property<Edit>(
      cls, "Alignment", [](Edit& e) { return Value(e.alignment()); },
      [](Edit& e, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_ALIGNMENT", a)) e.setAlignment(n);
      });
  flag<Edit, &Edit::autoSelect>(cls, "AutoSelect", "_AUTOSELECT");
  flag<Edit, &Edit::autoSize>(cls, "AutoSize", "_AUTOSIZE");
  number<Edit, &Edit::borderStyle>(cls, "BorderStyle", "_BORDERSTYLE");
  // The caption is the edit's value, of any of the four types.
  property<Edit>(
      cls, "Caption", [](Edit& e) { return e.value(); },
      [](Edit& e, const Value& v, Args) { e.setValue(v); });
  number<Edit, &Edit::leftMargin>(cls, "LeftMargin", "_LEFTMARGIN");
  property<Edit>(
      cls, "PasswordChar", [](Edit& e) { return Value(e.passwordChar()); },
      [](Edit& e, const Value& v, Args a) {
        std::string s;
        if (stringArg(v, s, "_PASSWORDCHAR", a)) e.setPasswordChar(s);
      });
  property<Edit>(
      cls, "Picture", [](Edit& e) { return Value(e.mask().picture()); },
      [](Edit& e, const Value& v, Args a) {
        std::string s;
        if (stringArg(v, s, "_PICTURE", a)) e.setPicture(s);
      });
  property<Edit>(
      cls, "ReadOnly", [](Edit& e) { return Value(e.readOnly()); },
      [](Edit& e, const Value& v, Args a) {
        bool on;
        if (boolArg(v, on, "_READONLY", a)) e.setReadOnly(on);
      });
  number<Edit, &Edit::rightMargin>(cls, "RightMargin", "_RIGHTMARGIN");
  property<Edit>(
      cls, "SelLength", [](Edit& e) { return Value(e.selLength()); },
      [](Edit& e, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_SELLENGTH", a)) e.setSelLength(n);
      });
  property<Edit>(
      cls, "SelStart", [](Edit& e) { return Value(e.selStart()); },
      [](Edit& e, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_SELSTART", a)) e.setSelStart(n);
      });
  event<Edit>(cls, "OnChange", kOnChange);
}

const LibClass kEditClass = {"TEdit", &kWinControlClass, &makeEdit, &registerEdit};

Value TEdit() {
  return classFunction(kEditClass);
}

Edit::Edit() {
  width_ = 121;
  height_ = 21;
  setTabStop(true);
}

QWidget* Edit::makeWidget(QWidget* parent) {
  auto* w = new QLineEdit(parent);
  w->setFocusPolicy(Qt::StrongFocus);
  // Paste and drop would bypass the mask: pasting goes through ownKey instead.
  w->setContextMenuPolicy(Qt::NoContextMenu);
  w->setAcceptDrops(false);
  return w;
}

void Edit::applyState() {
  WinControl::applyState();
  auto* w = qobject_cast<QLineEdit*>(widget_.data());
  if (!w) return;
  w->setAlignment(qtAlignment(alignment_));
  w->setReadOnly(readOnly_);
  w->setEchoMode(passwordChar_.empty() ? QLineEdit::Normal : QLineEdit::Password);
  w->setTextMargins(leftMargin, 0, rightMargin, 0);
  push();
}

void Edit::setValue(const Value& v) {
  mask_.setValue(v);
  push();
}

void Edit::setPicture(const std::string& picture) {
  mask_.setPicture(picture);
  push();
}

void Edit::clear() {
  pull();
  mask_.setSelection(0, static_cast<int>(mask_.text().size()));
  mask_.deleteSelection();
  push();
}

void Edit::setAlignment(int alignment) {
  alignment_ = alignment;
  if (auto* w = qobject_cast<QLineEdit*>(widget_.data())) w->setAlignment(qtAlignment(alignment));
}

void Edit::setReadOnly(bool on) {
  readOnly_ = on;
  if (auto* w = qobject_cast<QLineEdit*>(widget_.data())) w->setReadOnly(on);
}

void Edit::setPasswordChar(const std::string& c) {
  passwordChar_ = c;
  if (auto* w = qobject_cast<QLineEdit*>(widget_.data())) {
    w->setEchoMode(c.empty() ? QLineEdit::Normal : QLineEdit::Password);
  }
}

int Edit::selStart() const {
  auto* w = qobject_cast<QLineEdit*>(widget_.data());
  if (!w) return mask_.selStart();
  return w->hasSelectedText() ? w->selectionStart() : w->cursorPosition();
}

int Edit::selLength() const {
  auto* w = qobject_cast<QLineEdit*>(widget_.data());
  if (!w) return mask_.selLength();
  return w->hasSelectedText() ? static_cast<int>(w->selectedText().size()) : 0;
}

void Edit::setSelStart(int start) {
  pull();
  mask_.setCaret(start);
  push();
}

void Edit::setSelLength(int length) {
  pull();
  mask_.setSelection(mask_.selStart(), length);
  push();
}

// The widget's caret and selection into the mask.
void Edit::pull() {
  auto* w = qobject_cast<QLineEdit*>(widget_.data());
  if (!w || !hasFocus()) return;
  if (w->hasSelectedText()) {
    mask_.setSelection(w->selectionStart(), static_cast<int>(w->selectedText().size()));
  } else {
    mask_.setCaret(w->cursorPosition());
  }
}

// The mask's text, caret and selection into the widget.
void Edit::push() {
  auto* w = qobject_cast<QLineEdit*>(widget_.data());
  if (!w) return;
  const bool focused = hasFocus();
  const QString shown = toQString(mask_.shownText(focused));
  if (w->text() != shown) w->setText(shown);
  if (!focused) {
    w->setCursorPosition(0);
  } else if (mask_.selLength() > 0) {
    w->setSelection(mask_.selStart(), mask_.selLength());
  } else {
    w->setCursorPosition(mask_.caret());
  }
}

void Edit::changed() {
  push();
  fire(kOnChange);
}

void Edit::typeText(const QString& text) {
  if (readOnly_) return;
  pull();
  bool any = false;
  for (char32_t cp : text.toUcs4()) {
    unsigned char byte;
    if (toCp1250(cp, byte) && mask_.typeChar(byte)) any = true;
  }
  if (any) {
    changed();
  } else {
    push();
  }
}

void Edit::paste() {
  typeText(QApplication::clipboard()->text());
}

bool Edit::ownKey(int vk) {
  const Qt::KeyboardModifiers mods = keyModifiers();
  const bool ctrl = mods & Qt::ControlModifier;
  if (vk == kVkBack || vk == kVkDelete) {
    if (vk == kVkDelete && (mods & Qt::ShiftModifier)) {  // Shift+Delete cuts
      if (auto* w = qobject_cast<QLineEdit*>(widget_.data())) w->copy();
    }
    if (readOnly_) return true;
    pull();
    if (vk == kVkBack ? mask_.backspace() : mask_.deleteChar()) changed();
    return true;
  }
  if ((ctrl && vk == 'V') || (vk == 45 && (mods & Qt::ShiftModifier))) {
    paste();
    return true;
  }
  if (ctrl && vk == 'X') {
    if (auto* w = qobject_cast<QLineEdit*>(widget_.data())) w->copy();
    pull();
    if (!readOnly_ && mask_.deleteSelection()) changed();
    return true;
  }
  if (ctrl && (vk == 'Z' || vk == 'Y')) return true;  // the widget's undo knows no mask
  if (ctrl || (mods & Qt::AltModifier)) return false;
  const QString text = keyText(vk);
  if (!text.isEmpty() && text.at(0).isPrint()) {
    typeText(text);
    return true;
  }
  return false;
}

bool Edit::handleEvent(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      // Keys without a virtual-key code (letters of other keyboards: č, ž ...) type their
      // text here; the widget never inserts text itself.
      auto* key = static_cast<QKeyEvent*>(event);
      if (virtualKeyOf(key) != 0 || key->text().isEmpty()) break;
      if (WinControl* top = topControl(); top && !top->windowAcceptsInput()) return true;
      if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) typeText(key->text());
      key->accept();
      return true;
    }
    case QEvent::InputMethod: {
      auto* im = static_cast<QInputMethodEvent*>(event);
      typeText(im->commitString());
      im->accept();
      return true;
    }
    case QEvent::FocusIn: {
      const bool r = WinControl::handleEvent(watched, event);
      if (watched == widget_) {
        if (autoSelect) {
          mask_.setSelection(0, static_cast<int>(mask_.text().size()));
        } else {
          mask_.setCaret(mask_.entryCaret());
        }
        push();
      }
      return r;
    }
    case QEvent::FocusOut: {
      pull();
      const bool r = WinControl::handleEvent(watched, event);
      if (watched == widget_) push();
      return r;
    }
    default:
      break;
  }
  return WinControl::handleEvent(watched, event);
}

}  // namespace kv::ui
