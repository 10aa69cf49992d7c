#pragma once
// Labels: a caption in plain text. With AutoSize on (the default) the label sizes itself to
// its caption whenever the caption changes, through the bounds operation; with WordWrap on it
// keeps its width and grows downwards.
#include "ui/controls/wincontrol.h"

namespace kv::ui {

class Label : public WinControl {
 public:
  Label();

  bool autoSize() const { return autoSize_; }
  void setAutoSize(bool on);
  // 0 left, 1 right, 2 centre.
  int alignment() const { return alignment_; }
  void setAlignment(int alignment);
  bool wordWrap() const { return wordWrap_; }
  void setWordWrap(bool on);
  bool transparent = false;
  int borderStyle = 0;

  void setCaption(const std::string& caption) override;
  // The size the caption needs in the label's font.
  QSize textSize() const;

 protected:
  QWidget* makeWidget(QWidget* parent) override;
  void applyCaption() override;
  void applyFont() override;

 private:
  void fitToText();

  bool autoSize_ = true;
  int alignment_ = 0;
  bool wordWrap_ = false;
};

extern const LibClass kLabelClass;
Value TLabel();

}  // namespace kv::ui
