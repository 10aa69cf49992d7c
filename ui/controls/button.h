#pragma once
// Push buttons. A click (the mouse, Space, Enter while the button has the focus, or its
// accelerator) first hands the button's ModalResult, 0 included, to its form, which ends a
// modal loop when it is not 0, then fires OnClick. A button whose Cancel is true answers the
// Escape key of its form. Arrow keys do not move the focus from a button by themselves.
#include "ui/controls/wincontrol.h"

namespace kv::ui {

class Button : public WinControl {
 public:
  Button();

  bool cancel = false;
  int modalResult = 0;
  int alignment = 2;
  bool wordWrap = false;

  bool isCancelButton() const override { return cancel; }
  void click() override;

 protected:
  QWidget* makeWidget(QWidget* parent) override;
  void applyCaption() override;
  bool ownKey(int vk) override;
  bool clicksItself() const override { return true; }
};

extern const LibClass kButtonClass;
Value TButton();

}  // namespace kv::ui
