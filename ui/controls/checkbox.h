#pragma once
// Check boxes. State 0 unchecked, 1 checked, 2 grayed. A click moves the state on: checked
// becomes unchecked, grayed becomes checked, unchecked becomes grayed when AllowGrayed is
// true and checked otherwise; then OnClick fires, then OnChange. Setting State to 2 while
// AllowGrayed is false sets 1; setting the state it already has does nothing. The widget
// never changes its state by itself: the mouse, Space and the accelerator all end in click().
#include "ui/controls/wincontrol.h"

namespace kv::ui {

class CheckBox : public WinControl {
 public:
  CheckBox();

  int state() const { return state_; }
  void setState(int state);
  bool allowGrayed = false;
  bool alignButton = false;
  int alignment = 0;
  bool autoSize = false;
  bool wordWrap = false;

  void click() override;

 protected:
  QWidget* makeWidget(QWidget* parent) override;
  void applyState() override;
  void applyCaption() override;
  bool ownKey(int vk) override;

 private:
  void showState();
  int state_ = 0;
};

extern const LibClass kCheckBoxClass;
Value TCheckBox();

}  // namespace kv::ui
