#include "ui/controls/button.h"

#include <QPushButton>

#include "ui/core/fonts.h"
#include "ui/core/keys.h"
#include "ui/core/messages.h"
#include "ui/core/text.h"

namespace kv::ui {

namespace {

void registerButton(ClassDef* cls) {
  property<Button>(
      cls, "Alignment", [](Button& b) { return Value(b.alignment); },
      [](Button& b, const Value& v, Args a) { intArg(v, b.alignment, "_ALIGNMENT", a); });
  property<Button>(
      cls, "Cancel", [](Button& b) { return Value(b.cancel); },
      [](Button& b, const Value& v, Args a) { boolArg(v, b.cancel, "_CANCEL", a); });
  property<Button>(
      cls, "ModalResult", [](Button& b) { return Value(b.modalResult); },
      [](Button& b, const Value& v, Args a) { intArg(v, b.modalResult, "_MODALRESULT", a); });
  property<Button>(
      cls, "WordWrap", [](Button& b) { return Value(b.wordWrap); },
      [](Button& b, const Value& v, Args a) { boolArg(v, b.wordWrap, "_WORDWRAP", a); });
}

LibObject* makeButton() {
  return new Button;
}

}  // namespace

const LibClass kButtonClass = {"TButton", &kWinControlClass, &makeButton, &registerButton};

Value TButton() {
  return classFunction(kButtonClass);
}

Button::Button() {
  width_ = 75;
  height_ = 25;
  setTabStop(true);
}

QWidget* Button::makeWidget(QWidget* parent) {
  auto* w = new QPushButton(parent);
  w->setAutoDefault(false);
  w->setFocusPolicy(Qt::StrongFocus);
  QObject::connect(w, &QPushButton::clicked, [this, alive = this->alive()] {
    if (alive) guarded([this] { click(); });
  });
  return w;
}

void Button::applyCaption() {
  if (auto* w = qobject_cast<QPushButton*>(widget_.data())) {
    w->setText(symbolText(faceName(), toQString(caption_)));
  }
}

void Button::click() {
  Alive alive = this->alive();
  if (WinControl* top = topControl()) top->takeModalResult(modalResult);
  if (alive) WinControl::click();
}

bool Button::ownKey(int vk) {
  switch (vk) {
    case kVkReturn:
      click();
      return true;
    case kVkLeft:
    case kVkUp:
    case kVkRight:
    case kVkDown:
      return true;  // arrows move the focus only as TabKeys say, never by themselves
    default:
      return false;
  }
}

}  // namespace kv::ui
