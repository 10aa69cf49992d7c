#pragma once
// Images: a picture on a form. For now an image shows one of the window system's standard
// message icons (the message dialogs use them); its picture objects come with the controls.
#include "ui/controls/wincontrol.h"

namespace kv::ui {

// The standard icons of message boxes.
enum class StandardIcon { Information, Warning, Error, Question };

class Image : public WinControl {
 public:
  Image();

  bool autoSize = false;
  bool center = false;
  bool monochrome = false;
  bool stretch = false;

  void setStandardIcon(StandardIcon icon);

 protected:
  QWidget* makeWidget(QWidget* parent) override;

 private:
  void applyPicture();
  bool hasIcon_ = false;
  StandardIcon icon_ = StandardIcon::Information;
};

extern const LibClass kImageClass;
Value TImage();

}  // namespace kv::ui
