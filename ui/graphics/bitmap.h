#pragma once
// Bitmaps (TBitmap, and the same for TJPeg and TGif) and icons (TIcon). A bitmap holds an
// image loaded from a file (LoadFromFile, or setting FileName) or by `_Name`: a number loads
// the system bitmap of that identifier, a string the program's bitmap resource of that name.
// MaskColor (a colour number; -1 none) is drawn transparent. An icon loads with
// LoadFromFile/FileName or, by `_Name`, the program's icon resource. Width and Height are
// the image's. A file or name that gives no image leaves the object empty and raises GUI
// error 6001 for the operation.
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <string>

#include "ui/graphics/graphicsobject.h"

namespace kv::ui {

class Bitmap : public GraphicsObject {
 public:
  void setName(const Value& v) override;
  bool loadFromFile(const std::string& file);
  const std::string& fileName() const { return fileName_; }
  int maskColor() const { return maskColor_; }
  void setMaskColor(int colour);
  int width() const { return image_.width(); }
  int height() const { return image_.height(); }
  bool empty() const { return image_.isNull(); }
  void assign(const Bitmap& other);
  void clear();
  // The image with the mask colour made transparent.
  QPixmap pixmap() const;

 private:
  QImage image_;
  std::string fileName_;
  int maskColor_ = -1;
};

class Icon : public GraphicsObject {
 public:
  void setName(const Value& v) override;
  bool loadFromFile(const std::string& file);
  const std::string& fileName() const { return fileName_; }
  int width() const;
  int height() const;
  bool empty() const { return icon_.isNull(); }
  void assign(const Icon& other);
  void clear();
  const QIcon& qicon() const { return icon_; }

 private:
  QIcon icon_;
  std::string fileName_;
};

extern const LibClass kBitmapClass;
extern const LibClass kJPegClass;
extern const LibClass kGifClass;
extern const LibClass kIconClass;
Value TBitmap();
Value TJPeg();
Value TGif();
Value TIcon();

}  // namespace kv::ui
