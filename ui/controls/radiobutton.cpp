#include "ui/controls/radiobutton.h"

#include "ui/controls/checkwidget.h"
#include "ui/core/keys.h"
#include "ui/core/messages.h"
#include "ui/core/text.h"

namespace kv::ui {

namespace {

template <bool RadioButton::*Flag>
void flag(ClassDef* cls, const char* name, const char* setter) {
  property<RadioButton>(
      cls, name, [](RadioButton& r) { return Value(r.*Flag); },
      [setter](RadioButton& r, const Value& v, Args a) { boolArg(v, r.*Flag, setter, a); });
}

void registerRadioButton(ClassDef* cls) {
  flag<&RadioButton::alignButton>(cls, "AlignButton", "_ALIGNBUTTON");
  property<RadioButton>(
      cls, "Alignment", [](RadioButton& r) { return Value(r.alignment); },
      [](RadioButton& r, const Value& v, Args a) { intArg(v, r.alignment, "_ALIGNMENT", a); });
  flag<&RadioButton::autoGroup>(cls, "Auto", "_AUTO");
  flag<&RadioButton::autoSize>(cls, "AutoSize", "_AUTOSIZE");
  property<RadioButton>(
      cls, "Checked", [](RadioButton& r) { return Value(r.checked()); },
      [](RadioButton& r, const Value& v, Args a) {
        bool on;
        if (boolArg(v, on, "_CHECKED", a)) r.setChecked(on);
      });
  flag<&RadioButton::wordWrap>(cls, "WordWrap", "_WORDWRAP");
  event<RadioButton>(cls, "OnChange", kOnChange);
}

LibObject* makeRadioButton() {
  return new RadioButton;
}

}  // namespace

const LibClass kRadioButtonClass = {"TRadioButton", &kWinControlClass, &makeRadioButton,
                                    &registerRadioButton};

Value TRadioButton() {
  return classFunction(kRadioButtonClass);
}

RadioButton::RadioButton() {
  width_ = 113;
  height_ = 17;
  setTabStop(true);
}

QWidget* RadioButton::makeWidget(QWidget* parent) {
  return new RadioWidget(parent);
}

void RadioButton::applyState() {
  WinControl::applyState();
  showCheck();
}

void RadioButton::applyCaption() {
  if (auto* w = qobject_cast<QRadioButton*>(widget_.data())) w->setText(displayText(caption_));
}

void RadioButton::showCheck() {
  if (auto* w = qobject_cast<QRadioButton*>(widget_.data())) w->setChecked(checked_);
}

void RadioButton::setChecked(bool on) {
  if (on == checked_) return;
  checked_ = on;
  showCheck();
  if (!on || !autoGroup) return;
  WinControl* parent = parentControl();
  if (!parent) return;
  for (WinControl* c : parent->childControls()) {
    auto* r = dynamic_cast<RadioButton*>(c);
    if (r && r != this && r->autoGroup && r->visible()) r->setChecked(false);
  }
}

void RadioButton::click() {
  Alive alive = this->alive();
  const bool was = checked_;
  if (!(autoGroup && checked_)) setChecked(!checked_);
  WinControl::click();
  if (alive && checked_ != was) fire(kOnChange);
}

bool RadioButton::ownKey(int vk) {
  if (vk != kVkSpace) return false;
  click();
  return true;
}

}  // namespace kv::ui
