#pragma once
// Radio buttons. When a radio button whose Auto is true becomes checked, every other visible
// radio button of the same parent whose Auto is true is unchecked. A click toggles the check
// unless Auto is true and the button is already checked; OnClick fires either way, OnChange
// when the check changed. The widget never changes its check by itself.
#include "ui/controls/wincontrol.h"

namespace kv::ui {

class RadioButton : public WinControl {
 public:
  RadioButton();

  bool checked() const { return checked_; }
  void setChecked(bool on);
  bool alignButton = false;
  int alignment = 0;
  bool autoGroup = true;  // the Auto property
  bool autoSize = false;
  bool wordWrap = false;

  void click() override;

 protected:
  QWidget* makeWidget(QWidget* parent) override;
  void applyState() override;
  void applyCaption() override;
  bool ownKey(int vk) override;

 private:
  void showCheck();
  bool checked_ = false;
};

extern const LibClass kRadioButtonClass;
Value TRadioButton();

}  // namespace kv::ui
