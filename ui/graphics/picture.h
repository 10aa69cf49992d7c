#pragma once
// Pictures (TPicture): a bitmap, an icon, a JPEG and a GIF sub-object (`Bitmap`, `Icon`,
// `JPeg`, `Gif`); their setters copy the image of another object of that class into the
// sub-object. `Clear` empties all four. What a picture shows is the first of bitmap, JPEG,
// GIF and icon that holds an image, with its mask colour transparent.
#include <QPixmap>

#include "ui/graphics/bitmap.h"

namespace kv::ui {

class Picture : public GraphicsObject {
 public:
  Picture();

  Bitmap* bitmap() const { return bitmap_.get(); }
  Bitmap* jpeg() const { return jpeg_.get(); }
  Bitmap* gif() const { return gif_.get(); }
  Icon* icon() const { return icon_.get(); }
  const Value& bitmapObject() const { return bitmap_.object(); }
  const Value& jpegObject() const { return jpeg_.object(); }
  const Value& gifObject() const { return gif_.object(); }
  const Value& iconObject() const { return icon_.object(); }
  void clear();
  bool empty() const;
  QPixmap pixmap() const;

 protected:
  void release() override;

 private:
  SubObject<Bitmap> bitmap_;
  SubObject<Bitmap> jpeg_;
  SubObject<Bitmap> gif_;
  SubObject<Icon> icon_;
};

extern const LibClass kPictureClass;
Value TPicture();

}  // namespace kv::ui
