#pragma once
// Images: a picture on a form, the read-only `Picture` (a TPicture) with its mask colour
// transparent, drawn at the top left, centred (Center) or stretched to the image's size
// (Stretch); AutoSize sizes the image to the picture. The message dialogs show one of the
// window system's standard message icons instead.
#include "ui/controls/wincontrol.h"
#include "ui/graphics/picture.h"

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
  Picture* picture() const { return picture_.get(); }
  const Value& pictureObject() const { return picture_.object(); }
  // The picture's layout changed (Center, Stretch, AutoSize).
  void applyPicture();

 protected:
  QWidget* makeWidget(QWidget* parent) override;
  void release() override;

 private:
  SubObject<Picture> picture_;
  bool hasIcon_ = false;
  StandardIcon icon_ = StandardIcon::Information;
};

extern const LibClass kImageClass;
Value TImage();

}  // namespace kv::ui
