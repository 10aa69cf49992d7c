#pragma once
// Labelled edits: an edit with a label made together with it. The label (`EditLabel`, a
// TLabel) has the same owner as the edit, so it is the edit's sibling, and stays beside the
// edit whenever the edit moves or LabelPosition or LabelSpacing changes. With L, T, W, H the
// edit's bounds and S the spacing (default 3): position 0 above (label bottom at T - S),
// 1 below (label top at T + H + S), 2 left (label right edge at L - S), 3 right (label left
// at L + W + S); left and right labels are centred vertically on the edit. A new labelled
// edit's label shows "Label:".
#include "ui/controls/edit.h"

namespace kv::ui {

class Label;

class LabeledEdit : public Edit {
 public:
  LabeledEdit();

  Label* label() const;
  const Value& labelObject() const { return label_; }
  int labelPosition() const { return labelPosition_; }
  void setLabelPosition(int position);
  int labelSpacing() const { return labelSpacing_; }
  void setLabelSpacing(int spacing);
  // Places the label beside the edit.
  void placeLabel();

  void createImpl(Args args) override;
  void boundsImpl(int left, int top, int width, int height) override;

 protected:
  void release() override;

 private:
  Value label_;
  int labelPosition_ = 0;
  int labelSpacing_ = 3;
};

extern const LibClass kLabeledEditClass;
Value TLabeledEdit();

}  // namespace kv::ui
