#pragma once
// Group boxes: a framed area with its caption in the top edge; the controls it owns lie in
// it (radio buttons in one group box form one group). Alignment places the caption: 0 left,
// 1 right, 2 centre.
#include "ui/controls/wincontrol.h"

namespace kv::ui {

class GroupBox : public WinControl {
 public:
  GroupBox();

  int alignment() const { return alignment_; }
  void setAlignment(int alignment);

 protected:
  QWidget* makeWidget(QWidget* parent) override;
  void applyCaption() override;

 private:
  int alignment_ = 0;
};

extern const LibClass kGroupBoxClass;
Value TGroupBox();

}  // namespace kv::ui
