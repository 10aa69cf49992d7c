#pragma once
// Panels: a plain area with bevels and a caption drawn in its middle (by Alignment: 0 left,
// 1 right, 2 centre). BevelOuter and BevelInner: 0 none, 1 lowered, 2 raised; a new panel has
// a raised outer bevel.
#include "ui/controls/wincontrol.h"

namespace kv::ui {

class Panel : public WinControl {
 public:
  Panel();

  int alignment = 2;
  int bevelInner = 0;
  int bevelOuter() const { return bevelOuter_; }
  void setBevelOuter(int bevel);
  bool transparent = false;

  int clientWidth() const override;
  int clientHeight() const override;

 protected:
  QWidget* makeWidget(QWidget* parent) override;
  void applyCaption() override;
  bool paintsItself() const override { return true; }
  void paintContent(QPainter& painter) override;

 private:
  void applyBevel();
  int bevelOuter_ = 2;
};

extern const LibClass kPanelClass;
Value TPanel();

}  // namespace kv::ui
