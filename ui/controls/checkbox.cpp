#include "ui/controls/checkbox.h"

#include "ui/controls/checkwidget.h"
#include "ui/core/keys.h"
#include "ui/core/messages.h"
#include "ui/core/text.h"

namespace kv::ui {

namespace {

template <bool CheckBox::*Flag>
void flag(ClassDef* cls, const char* name, const char* setter) {
  property<CheckBox>(
      cls, name, [](CheckBox& c) { return Value(c.*Flag); },
      [setter](CheckBox& c, const Value& v, Args a) { boolArg(v, c.*Flag, setter, a); });
}

void registerCheckBox(ClassDef* cls) {
  flag<&CheckBox::alignButton>(cls, "AlignButton", "_ALIGNBUTTON");
  property<CheckBox>(
      cls, "Alignment", [](CheckBox& c) { return Value(c.alignment); },
      [](CheckBox& c, const Value& v, Args a) { intArg(v, c.alignment, "_ALIGNMENT", a); });
  property<CheckBox>(
      cls, "AllowGrayed", [](CheckBox& c) { return Value(c.allowGrayed); },
      [](CheckBox& c, const Value& v, Args a) { boolArg(v, c.allowGrayed, "_ALLOWGRAYED", a); });
  flag<&CheckBox::autoSize>(cls, "AutoSize", "_AUTOSIZE");
  property<CheckBox>(
      cls, "Checked", [](CheckBox& c) { return Value(c.state() == 1); },
      [](CheckBox& c, const Value& v, Args a) {
        bool on;
        if (boolArg(v, on, "_CHECKED", a)) c.setState(on ? 1 : 0);
      });
  property<CheckBox>(
      cls, "State", [](CheckBox& c) { return Value(c.state()); },
      [](CheckBox& c, const Value& v, Args a) {
        int n;
        if (intArg(v, n, "_STATE", a)) c.setState(n);
      });
  flag<&CheckBox::wordWrap>(cls, "WordWrap", "_WORDWRAP");
  event<CheckBox>(cls, "OnChange", kOnChange);
}

LibObject* makeCheckBox() {
  return new CheckBox;
}

}  // namespace

const LibClass kCheckBoxClass = {"TCheckBox", &kWinControlClass, &makeCheckBox, &registerCheckBox};

Value TCheckBox() {
  return classFunction(kCheckBoxClass);
}

CheckBox::CheckBox() {
  width_ = 97;
  height_ = 17;
  setTabStop(true);
}

QWidget* CheckBox::makeWidget(QWidget* parent) {
  auto* w = new CheckWidget(parent);
  w->setTristate(true);
  return w;
}

void CheckBox::applyState() {
  WinControl::applyState();
  showState();
}

void CheckBox::applyCaption() {
  if (auto* w = qobject_cast<QCheckBox*>(widget_.data())) w->setText(displayText(caption_));
}

void CheckBox::showState() {
  auto* w = qobject_cast<QCheckBox*>(widget_.data());
  if (!w) return;
  static constexpr Qt::CheckState kStates[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
  w->setCheckState(kStates[state_]);
}

void CheckBox::setState(int state) {
  if (state == 2 && !allowGrayed) state = 1;
  if (state < 0 || state > 2 || state == state_) return;
  state_ = state;
  showState();
}

void CheckBox::click() {
  Alive alive = this->alive();
  switch (state_) {
    case 1:
      state_ = 0;
      break;
    case 2:
      state_ = 1;
      break;
    default:
      state_ = allowGrayed ? 2 : 1;
      break;
  }
  showState();
  WinControl::click();
  if (alive) fire(kOnChange);
}

bool CheckBox::ownKey(int vk) {
  if (vk != kVkSpace) return false;
  click();
  return true;
}

}  // namespace kv::ui
